#include "photomeasure/keptcalibrationoffer.h"

#include "photomeasure/applyscale.h"
#include "photomeasure/keptcalibrationsdialog.h"
#include "texts/localtext.h"

#include <QAction>
#include <QPushButton>
#include <QWidget>

namespace {

constexpr int kMargin = 4;

QPushButton* offerButton(QWidget& window, const char* objectName)
{
    auto* button = new QPushButton(&window);
    button->setObjectName(QLatin1String(objectName));
    // The window's Enter never presses anything.
    button->setAutoDefault(false);
    button->setFocusPolicy(Qt::NoFocus);
    button->hide();
    return button;
}

}  // namespace

KeptCalibrationOffer::KeptCalibrationOffer(QWidget& window, CalibrationStore& store, const LocalText& text,
                                           Prompter& prompter)
    : QObject(&window)
    , m_window(window)
    , m_store(store)
    , m_text(text)
    , m_prompter(prompter)
    , m_apply(offerButton(window, "applyKeptButton"))
    , m_keep(offerButton(window, "keepCalibrationButton"))
    , m_keepAction(new QAction(&window))
    , m_listAction(new QAction(text.read(Text::KeptCalibrations), &window))
{
    m_keepAction->setVisible(false);
    connect(m_apply, &QPushButton::clicked, this, [this] {
        if (m_offered) {
            emit applyRequested(*m_offered);
        }
    });
    connect(m_keep, &QPushButton::clicked, this, &KeptCalibrationOffer::keep);
    connect(m_keepAction, &QAction::triggered, this, &KeptCalibrationOffer::keep);
    connect(m_listAction, &QAction::triggered, this, &KeptCalibrationOffer::showList);
    connect(&m_store, &CalibrationStore::changed, this, &KeptCalibrationOffer::refresh);
    window.addAction(m_keepAction);
    window.addAction(m_listAction);
    // Told once the window is up, whichever window looks at the kept calibrations first.
    QMetaObject::invokeMethod(this, [this] {
        KeptCalibrationsDialog::tellProblem(m_store, m_text, m_prompter, &m_window);
    }, Qt::QueuedConnection);
}

void KeptCalibrationOffer::offerFor(const QString& rateText, int width, int height, bool withheld)
{
    m_asked = {rateText, width, height, withheld};
    refresh();
}

void KeptCalibrationOffer::refresh()
{
    const double magnification = numberFromText(m_asked.rateText.toStdString());
    m_offered.reset();
    if (!m_asked.withheld && magnification > 0.0) {
        m_offered = m_store.find(magnification, m_asked.width, m_asked.height);
    }
    if (m_offered) {
        m_apply->setText(m_text.read(Text::ApplyKeptCalibration)
                             .arg(QString::asprintf("%.1f", m_offered->value), magnificationText(magnification)));
    }
    m_apply->setVisible(m_offered.has_value());
    m_keep->setVisible(m_toKeep.has_value());
    m_keepAction->setVisible(m_toKeep.has_value());
    place(m_band, m_view);
}

void KeptCalibrationOffer::calibrated(const QString& rateText, int width, int height, double value, double distance)
{
    const double magnification = numberFromText(rateText.toStdString());
    m_toKeep.reset();
    if (magnification > 0.0) {
        const QString keepText = m_text.read(Text::KeepCalibration)
                                     .arg(magnificationText(magnification))
                                     .arg(width)
                                     .arg(height);
        m_keep->setText(keepText);
        m_keepAction->setText(keepText);
        const QString name = QStringLiteral("%1, %2 × %3").arg(magnificationText(magnification)).arg(width).arg(height);
        m_toKeep = KeptCalibration{name, magnification, width, height, value, distance, QDate::currentDate()};
    }
    m_asked.withheld = true;
    refresh();
}

void KeptCalibrationOffer::keep()
{
    if (!m_toKeep) {
        return;
    }
    const std::optional<QString> failure = m_store.keep(*m_toKeep);
    KeptCalibrationsDialog::tellChangeFailed(failure, m_text, m_prompter, &m_window);
    if (!failure) {
        m_toKeep.reset();
        refresh();
    }
}

void KeptCalibrationOffer::showList()
{
    KeptCalibrationsDialog dialog(m_store, m_text, m_prompter, &m_window);
    dialog.exec();
}

void KeptCalibrationOffer::place(const QRect& band, const QRect& view)
{
    m_band = band;
    m_view = view;
    int x = band.left() + kMargin;
    for (QPushButton* button : {m_apply, m_keep}) {
        if (button->isHidden()) {
            continue;
        }
        button->resize(button->sizeHint());
        if (band.height() >= button->height()) {
            button->move(x, band.top() + (band.height() - button->height()) / 2);
            x += button->width() + kMargin;
        } else {
            // Clear of the view's vertical scroll bar.
            button->move(view.right() - button->width() - 24, view.top() + kMargin);
        }
        button->raise();
    }
}
