#pragma once

#include <QObject>

#include <optional>

/// A calibration result and the picture size it was made on: a scale only holds for
/// pictures of that size, since the same field of view spreads over more pixels at a
/// higher resolution.
struct Calibration {
    double value = 0.0;  ///< the scale, as the calibrated-scale box shows it
    int width = 0;
    int height = 0;

    bool operator==(const Calibration&) const = default;
};

/// The calibration the main window's scale box stands for, if any. Set when the
/// photo-measure window calibrates (or a kept calibration is chosen), cleared when the user
/// types another value into the scale box, so whatever reads it never trusts a number that
/// no calibration backs.
class CalibrationInForce : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

    const std::optional<Calibration>& current() const { return m_current; }
    /// The calibration for pictures of WIDTH x HEIGHT, or nothing.
    std::optional<Calibration> forSize(int width, int height) const
    {
        if (m_current && m_current->width == width && m_current->height == height) {
            return m_current;
        }
        return std::nullopt;
    }

    void set(const Calibration& calibration)
    {
        if (m_current != calibration) {
            m_current = calibration;
            emit changed();
        }
    }
    void clear()
    {
        if (m_current) {
            m_current.reset();
            emit changed();
        }
    }

signals:
    void changed();

private:
    std::optional<Calibration> m_current;
};
