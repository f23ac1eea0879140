#include "photomeasure/widthbox.h"

#include <QLineEdit>

#include <algorithm>
#include <limits>

std::optional<int32_t> wholeNumber(const QString& text)
{
    const QString trimmed = text.trimmed();
    qsizetype index = 0;
    bool negative = false;
    if (index < trimmed.size() && (trimmed[index] == u'-' || trimmed[index] == u'+')) {
        negative = trimmed[index] == u'-';
        ++index;
    }
    if (index == trimmed.size()) {
        return std::nullopt;
    }
    int64_t value = 0;
    for (; index < trimmed.size(); ++index) {
        const char16_t c = trimmed[index].unicode();
        if (c < u'0' || c > u'9') {
            return std::nullopt;
        }
        value = value * 10 + (c - u'0');
        if (value > int64_t(std::numeric_limits<int32_t>::max()) + 1) {
            return std::nullopt;
        }
    }
    value = negative ? -value : value;
    if (value > std::numeric_limits<int32_t>::max()) {
        return std::nullopt;
    }
    return int32_t(value);
}

WidthBox::WidthBox(int minimum, int maximum, QWidget* parent)
    : QAbstractSpinBox(parent), m_minimum(minimum), m_maximum(maximum)
{
    connect(lineEdit(), &QLineEdit::textChanged, this, [this](const QString& text) {
        update();  // the arrows' enabled state follows the number
        emit textChanged(text);
    });
}

void WidthBox::setText(const QString& text)
{
    lineEdit()->setText(text);
}

int32_t WidthBox::number() const
{
    return wholeNumber(text()).value_or(0);
}

void WidthBox::stepBy(int steps)
{
    const int64_t next = std::clamp<int64_t>(int64_t(number()) + steps, m_minimum, m_maximum);
    setText(QString::number(next));
    if (hasFocus()) {
        selectAll();
    }
}

QAbstractSpinBox::StepEnabled WidthBox::stepEnabled() const
{
    if (isReadOnly()) {
        return StepNone;
    }
    StepEnabled enabled = StepNone;
    const int32_t current = number();
    if (current < m_maximum) {
        enabled |= StepUpEnabled;
    }
    if (current > m_minimum) {
        enabled |= StepDownEnabled;
    }
    return enabled;
}
