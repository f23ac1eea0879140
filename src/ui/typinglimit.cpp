#include "ui/typinglimit.h"

#include <QLineEdit>

TypingLimit::TypingLimit(int length, QLineEdit* edit)
    : QValidator(edit)
    , m_length(length)
    , m_edit(edit)
{
    edit->setValidator(this);
}

QValidator::State TypingLimit::validate(QString& input, int&) const
{
    return input.size() <= m_length || input.size() < m_edit->text().size() ? Acceptable : Invalid;
}
