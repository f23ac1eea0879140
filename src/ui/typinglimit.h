#pragma once

#include <QValidator>

class QLineEdit;

/// Limits what the user can type into an edit box to a number of characters, the way a text
/// limit on an edit control does: a longer text set by the program is shown whole and can be
/// shortened, but not lengthened. (A maximum length would cut the program's text.)
class TypingLimit : public QValidator {
    Q_OBJECT

public:
    /// Installs itself on EDIT, which owns it.
    TypingLimit(int length, QLineEdit* edit);

    State validate(QString& input, int& position) const override;
    int length() const { return m_length; }

private:
    int m_length;
    QLineEdit* m_edit;
};
