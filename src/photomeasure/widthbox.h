#pragma once

#include <QAbstractSpinBox>

#include <cstdint>
#include <optional>

/// TEXT as a signed whole number: blanks around it, an optional sign and decimal digits
/// that fit 32 bits. Anything else is not a number.
std::optional<int32_t> wholeNumber(const QString& text);

/// A number box with an up-down control. Unlike QSpinBox the box keeps whatever the user
/// types, out-of-range numbers and non-numbers included, so its owner can preview and
/// refuse them; only the arrows (and the Up and Down keys) keep to the range: they step from
/// the number in the box (a non-number counts as 0) and never leave minimum to maximum.
class WidthBox : public QAbstractSpinBox {
    Q_OBJECT
public:
    WidthBox(int minimum, int maximum, QWidget* parent = nullptr);

    void setText(const QString& text);

    /// The box's number, 0 when it holds no number.
    int32_t number() const;

    void stepBy(int steps) override;

signals:
    void textChanged(const QString& text);

protected:
    StepEnabled stepEnabled() const override;

private:
    int m_minimum;
    int m_maximum;
};
