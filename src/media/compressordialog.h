#pragma once

#include "platform/aviwriter.h"

#include <QDialog>

#include <optional>
#include <vector>

class LocalText;
class QListWidget;

/// Chooses the encoder clips are compressed with, from the encoders an AVI file can hold.
class CompressorDialog : public QDialog {
    Q_OBJECT

public:
    CompressorDialog(std::vector<AviEncoder> encoders, const LocalText& text, QWidget* parent = nullptr);

    /// Shows the dialog modally; the encoder picked with OK, nothing on Cancel.
    static std::optional<AviEncoder> choose(std::vector<AviEncoder> encoders, const LocalText& text,
                                            QWidget* parent);

    QListWidget* list() const { return m_list; }
    /// The encoder selected in the list, if any.
    std::optional<AviEncoder> selected() const;

private:
    std::vector<AviEncoder> m_encoders;
    QListWidget* m_list = nullptr;
};
