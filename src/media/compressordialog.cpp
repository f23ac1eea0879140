#include "media/compressordialog.h"

#include "texts/localtext.h"

#include <QDialogButtonBox>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

CompressorDialog::CompressorDialog(std::vector<AviEncoder> encoders, const LocalText& text, QWidget* parent)
    : QDialog(parent)
    , m_encoders(std::move(encoders))
{
    setWindowTitle(text.read(Text::CompressTilte));
    auto* layout = new QVBoxLayout(this);
    m_list = new QListWidget(this);
    for (const AviEncoder& encoder : m_encoders) {
        m_list->addItem(encoder.longName);
    }
    m_list->setCurrentRow(0);
    layout->addWidget(m_list);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(text.read(Text::OK), QDialogButtonBox::AcceptRole);
    buttons->addButton(text.read(Text::Cancel), QDialogButtonBox::RejectRole);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
}

std::optional<AviEncoder> CompressorDialog::selected() const
{
    const int row = m_list->currentRow();
    if (row < 0 || row >= static_cast<int>(m_encoders.size())) {
        return std::nullopt;
    }
    return m_encoders[static_cast<std::size_t>(row)];
}

std::optional<AviEncoder> CompressorDialog::choose(std::vector<AviEncoder> encoders, const LocalText& text,
                                                   QWidget* parent)
{
    CompressorDialog dialog(std::move(encoders), text, parent);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.selected();
}
