#include "photomeasure/keptcalibrationsdialog.h"

#include "photomeasure/calibrationstore.h"
#include "platform/prompter.h"
#include "texts/localtext.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLocale>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

enum Column { NameColumn, MagnificationColumn, SizeColumn, ScaleColumn, DistanceColumn, DateColumn, ColumnCount };

QTableWidgetItem* fixedItem(const QString& text)
{
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    return item;
}

}  // namespace

KeptCalibrationsDialog::KeptCalibrationsDialog(CalibrationStore& store, const LocalText& text, Prompter& prompter,
                                               QWidget* parent)
    : QDialog(parent)
    , m_store(store)
    , m_text(text)
    , m_prompter(prompter)
{
    setWindowTitle(text.read(Text::KeptCalibrationsTitle));
    m_table = new QTableWidget(0, ColumnCount, this);
    m_table->setObjectName(QStringLiteral("keptTable"));
    m_table->setHorizontalHeaderLabels({text.read(Text::KeptName), text.read(Text::KeptMagnification),
                                        text.read(Text::KeptPictureSize), text.read(Text::KeptScale),
                                        text.read(Text::KeptDistance), text.read(Text::KeptDate)});
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);

    auto* buttons = new QDialogButtonBox(this);
    m_rename = buttons->addButton(text.read(Text::KeptRename), QDialogButtonBox::ActionRole);
    m_rename->setObjectName(QStringLiteral("renameButton"));
    m_delete = buttons->addButton(text.read(Text::KeptDelete), QDialogButtonBox::ActionRole);
    m_delete->setObjectName(QStringLiteral("deleteButton"));
    QPushButton* close = buttons->addButton(text.read(Text::KeptClose), QDialogButtonBox::RejectRole);
    close->setObjectName(QStringLiteral("closeButton"));
    // Enter finishes a name being edited; it must not close the list too.
    for (QPushButton* button : {m_rename, m_delete, close}) {
        button->setAutoDefault(false);
    }
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_rename, &QPushButton::clicked, this, &KeptCalibrationsDialog::renameSelected);
    connect(m_delete, &QPushButton::clicked, this, &KeptCalibrationsDialog::deleteSelected);
    connect(m_table, &QTableWidget::itemChanged, this, &KeptCalibrationsDialog::nameEdited);
    connect(m_table, &QTableWidget::itemSelectionChanged, this, &KeptCalibrationsDialog::followSelection);
    // Queued: a rename is written from inside the table's own edit, whose item a fill replaces.
    connect(&m_store, &CalibrationStore::changed, this, &KeptCalibrationsDialog::fill, Qt::QueuedConnection);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_table);
    layout->addWidget(buttons);
    resize(620, 300);
    fill();
}

void KeptCalibrationsDialog::fill()
{
    const int selected = m_table->currentRow();
    m_filling = true;
    const std::vector<KeptCalibration>& entries = m_store.entries();
    m_table->setRowCount(int(entries.size()));
    const QLocale locale;
    for (int row = 0; row < int(entries.size()); ++row) {
        const KeptCalibration& entry = entries[std::size_t(row)];
        auto* name = new QTableWidgetItem(entry.name);
        name->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable);
        m_table->setItem(row, NameColumn, name);
        m_table->setItem(row, MagnificationColumn, fixedItem(magnificationText(entry.magnification)));
        m_table->setItem(row, SizeColumn, fixedItem(QStringLiteral("%1 × %2").arg(entry.width).arg(entry.height)));
        m_table->setItem(row, ScaleColumn, fixedItem(QString::asprintf("%.1f", entry.value)));
        m_table->setItem(row, DistanceColumn, fixedItem(QString::number(entry.distance, 'g', 10)));
        m_table->setItem(row, DateColumn, fixedItem(locale.toString(entry.date, QLocale::ShortFormat)));
    }
    m_table->resizeColumnsToContents();
    m_filling = false;
    if (!entries.empty()) {
        m_table->selectRow(std::min(std::max(selected, 0), int(entries.size()) - 1));
    }
    followSelection();
}

void KeptCalibrationsDialog::followSelection()
{
    const bool chosen = m_table->currentRow() >= 0 && m_table->currentRow() < int(m_store.entries().size());
    m_rename->setEnabled(chosen);
    m_delete->setEnabled(chosen);
}

void KeptCalibrationsDialog::renameSelected()
{
    if (QTableWidgetItem* item = m_table->item(m_table->currentRow(), NameColumn)) {
        m_table->setFocus();
        m_table->editItem(item);
    }
}

void KeptCalibrationsDialog::nameEdited(QTableWidgetItem* item)
{
    if (m_filling || item->column() != NameColumn) {
        return;
    }
    const std::size_t row = std::size_t(item->row());
    if (row >= m_store.entries().size() || item->text() == m_store.entries()[row].name) {
        return;
    }
    const std::optional<QString> failure = m_store.rename(row, item->text());
    if (failure) {
        // The store kept the old name: show it again, once the table has left its edit.
        QMetaObject::invokeMethod(this, &KeptCalibrationsDialog::fill, Qt::QueuedConnection);
        tellChangeFailed(failure, m_text, m_prompter, this);
    }
}

void KeptCalibrationsDialog::deleteSelected()
{
    const int row = m_table->currentRow();
    if (row < 0 || row >= int(m_store.entries().size())) {
        return;
    }
    if (m_prompter.message(this, m_text.read(Text::SureDelete), Prompter::Icon::Question, Prompter::Buttons::YesNo)
        != Prompter::Answer::Yes) {
        return;
    }
    tellChangeFailed(m_store.remove(std::size_t(row)), m_text, m_prompter, this);
    fill();
}

void KeptCalibrationsDialog::tellProblem(CalibrationStore& store, const LocalText& text, Prompter& prompter,
                                         QWidget* parent)
{
    if (const std::optional<QString> problem = store.takeProblem()) {
        prompter.message(parent, text.read(Text::KeptUnreadable).arg(*problem), Prompter::Icon::Warning);
    }
}

void KeptCalibrationsDialog::tellChangeFailed(const std::optional<QString>& reason, const LocalText& text,
                                              Prompter& prompter, QWidget* parent)
{
    if (reason) {
        prompter.message(parent, text.read(Text::KeptChangeFail).arg(*reason), Prompter::Icon::Warning);
    }
}
