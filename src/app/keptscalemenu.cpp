#include "app/keptscalemenu.h"

#include "photomeasure/keptcalibrationsdialog.h"
#include "texts/localtext.h"

#include <QMenu>
#include <QToolButton>

KeptScaleMenu::KeptScaleMenu(QToolButton& button, CalibrationStore& store, const LocalText& text,
                             Prompter& prompter)
    : QObject(&button)
    , m_button(button)
    , m_store(store)
    , m_text(text)
    , m_prompter(prompter)
    , m_menu(new QMenu(&button))
{
    m_button.setToolTip(text.read(Text::KeptCalibrationsTitle));
    // Shown by hand rather than as the button's own menu, whose indicator would draw a
    // second arrow over the button's in its 12 pixels.
    connect(&m_button, &QToolButton::clicked, this, [this] {
        fill();
        m_menu->popup(m_button.mapToGlobal(QPoint(m_button.width() - m_menu->sizeHint().width(), m_button.height())));
    });
    fill();
}

void KeptScaleMenu::fill()
{
    m_menu->clear();
    const std::vector<KeptCalibration>& entries = m_store.entries();
    for (std::size_t index = 0; index < entries.size(); ++index) {
        const KeptCalibration& entry = entries[index];
        // The menu's mnemonic marker must show as itself in a user's name.
        QString label = entry.name;
        label.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* action = m_menu->addAction(label + QStringLiteral("\t") + QString::asprintf("%.1f", entry.value));
        connect(action, &QAction::triggered, this, [this, entry] { emit chosen(entry); });
    }
    if (!entries.empty()) {
        m_menu->addSeparator();
    }
    connect(m_menu->addAction(m_text.read(Text::KeptCalibrations)), &QAction::triggered, this,
            &KeptScaleMenu::showList);
}

void KeptScaleMenu::showList()
{
    KeptCalibrationsDialog dialog(m_store, m_text, m_prompter, m_button.window());
    dialog.exec();
}
