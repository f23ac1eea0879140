#include "photomeasure/photomeasuredialog.h"

#include "measure/measurecsv.h"
#include "measure/measurementfiles.h"
#include "measure/measureview.h"
#include "measure/measuresession.h"
#include "measure/measuretool.h"
#include "texts/localtext.h"
#include "platform/prompter.h"
#include "ui/latchbitmapbutton.h"
#include "ui/menustyle.h"
#include "ui/picturebutton.h"
#include "photomeasure/calibrationdialog.h"
#include "photomeasure/keptcalibrationoffer.h"
#include "photomeasure/pensettingdialog.h"
#include "photomeasure/textsettingdialog.h"
#include "photomeasure/measurementexport.h"
#include "photomeasure/picturesaving.h"
#include "photomeasure/toolmenutable.h"
#include "photomeasure/photomeasurestate.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QScreen>

// Resources of a static library are linked only when something names them.
static void initialisePhotoMeasureResources()
{
    Q_INIT_RESOURCE(photomeasure);
}

namespace {
const QColor kMenuHighlight(78, 135, 219);
const QColor kMenuBackground(226, 227, 229);
}  // namespace

PhotoMeasureDialog::PhotoMeasureDialog(PhotoMeasureContext context, QWidget* parent)
    : QDialog(parent)
    , m_context(context)
    , m_scale(context.session)
{
    initialisePhotoMeasureResources();
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    m_stateSettled.setSingleShot(true);
    m_stateSettled.setInterval(0);
    connect(&m_stateSettled, &QTimer::timeout, this, &PhotoMeasureDialog::windowStateSettled);
}

PhotoMeasureDialog::~PhotoMeasureDialog()
{
    destroyView();
}

void PhotoMeasureDialog::setVisible(bool visible)
{
    if (visible && !m_initialised) {
        m_initialised = true;
        initialise();
    }
    QDialog::setVisible(visible);
}

void PhotoMeasureDialog::initialise()
{
    m_strip = std::make_unique<PhotoMeasureStrip>(*this, m_context.text);
    connect(m_strip->openButton, &QAbstractButton::clicked, this, &PhotoMeasureDialog::openPicture);
    connect(m_strip->saveButton, &QAbstractButton::clicked, this, [this] {
        unhighlightToolButtons();
        save();
    });
    connect(m_strip->drawButton, &QAbstractButton::clicked, this, [this] { showToolMenu(false); });
    connect(m_strip->measureButton, &QAbstractButton::clicked, this, [this] { showToolMenu(true); });
    connect(m_strip->penButton, &QAbstractButton::clicked, this, &PhotoMeasureDialog::penSettings);
    connect(m_strip->textButton, &QAbstractButton::clicked, this, &PhotoMeasureDialog::textSettings);
    connect(m_strip->undoButton, &QAbstractButton::clicked, this, &PhotoMeasureDialog::undo);
    connect(m_strip->redoButton, &QAbstractButton::clicked, this, &PhotoMeasureDialog::redo);
    connect(m_strip->calibrationButton, &QAbstractButton::clicked, this, &PhotoMeasureDialog::calibrate);

    // The export sits in the window's context menu and on Ctrl+E, so the tool strip keeps
    // its buttons where they are.
    auto* exportAction = new QAction(m_context.text.read(Text::ExportMeasurements), this);
    exportAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    exportAction->setShortcutContext(Qt::WindowShortcut);
    connect(exportAction, &QAction::triggered, this, &PhotoMeasureDialog::exportMeasurements);
    addAction(exportAction);
    // Kept calibrations too stay off the strip: beside the export, and below the picture.
    m_offer = new KeptCalibrationOffer(*this, m_context.calibrations, m_context.text, m_context.prompter);
    connect(m_offer, &KeptCalibrationOffer::applyRequested, this, &PhotoMeasureDialog::applyKept);
    connect(m_strip->rateBox, &QLineEdit::textChanged, this, &PhotoMeasureDialog::offerKept);
    setContextMenuPolicy(Qt::ActionsContextMenu);
    // On X11 a line edit takes Ctrl+E for "end of line", and the Scale box has the focus
    // when the window opens.
    for (QLineEdit* box : {m_strip->rateBox, m_strip->calibratedBox, m_strip->toolNameBox}) {
        box->installEventFilter(this);
    }

    // The view is made once, fitted, as the restored window shows it; making it first in
    // another mode and then again would load the picture twice and report a bad one twice.
    m_layout = PhotoMeasureStrip::Layout::Restored;
    m_context.session.setDisplayMode(DisplayMode::Fitted);
    createView(m_picturePath);
    m_strip->rateBox->setText(QString::fromStdString(std::string(m_context.session.nameScaleText())));
    openMeasurements();
    offerKept();
    setWindowTitle(m_context.text.read(Text::PhotoMeasure));

    const bool largePicture =
        m_context.session.pictureWidth() == 1280 && m_context.session.pictureHeight() == 1024;
    resize(largePicture ? kLargePictureClientSize : kClientSize);
    if (const QScreen* screen = this->screen()) {
        const QRect available = screen->geometry();
        move(available.x() + available.width() / 5, available.y() + available.height() / 8);
    }
    m_context.state.askBeforeDiscarding = true;
    fitView();

    followHistory();
    m_knownState = windowState();
}

// --- the view ------------------------------------------------------------------------------

void PhotoMeasureDialog::createView(const QString& path)
{
    m_view = new MeasureView(m_context.session, m_context.prompter, m_context.text, path, 1.0,
                             kInitialTool, this);
    m_view->setCalibrationPrompt([this]() -> std::optional<double> {
        CalibrationDialog dialog(m_context.text, m_context.prompter, this);
        if (dialog.exec() != QDialog::Accepted) {
            return std::nullopt;
        }
        return dialog.actualDistance();
    });
    connect(m_view, &MeasureView::calibrationNotified, this, &PhotoMeasureDialog::calibrationNotified);
    connect(m_view, &MeasureView::historyChanged, this, &PhotoMeasureDialog::showHistory);
    // The right button belongs to the gestures on the picture, not to the window's menu.
    m_view->setContextMenuPolicy(Qt::PreventContextMenu);
    fitView();
}

// The shapes were placed on this view's picture and display mode: they go with it.
void PhotoMeasureDialog::destroyView()
{
    delete m_view;
    m_view = nullptr;
    m_context.session.clearShapes();
}

void PhotoMeasureDialog::fitView()
{
    if (m_view == nullptr) {
        return;
    }
    QRect frame(0, PhotoMeasureStrip::kHeight, width(), height() - PhotoMeasureStrip::kHeight);
    // A fitted picture is stretched to its canvas; the view is given exactly that size, so the
    // caption at its bottom and every click line up with the canvas.
    if (m_view->displayMode() == DisplayMode::Fitted && m_view->hasPicture()) {
        frame.setSize(m_view->canvasSize());
    }
    m_view->setGeometry(frame);
    if (m_offer != nullptr) {
        m_offer->place(QRect(0, frame.bottom() + 1, width(), height() - frame.bottom() - 1), frame);
    }
}

void PhotoMeasureDialog::rebuildView(PhotoMeasureStrip::Layout layout)
{
    destroyView();
    m_layout = layout;
    m_strip->applyLayout(layout, width());
    const bool maximised = layout == PhotoMeasureStrip::Layout::Maximised;
    m_context.session.setDisplayMode(maximised ? DisplayMode::FullSize : DisplayMode::Fitted);
    createView(m_picturePath);
    if (maximised) {
        m_view->updateScrollBars();
    }
    m_view->clearShapes();
    m_context.state.askBeforeDiscarding = true;
    m_view->show();
    followHistory();
}

// --- commands ------------------------------------------------------------------------------

void PhotoMeasureDialog::openPicture()
{
    unhighlightToolButtons();
    bool answeredNo = false;
    const bool unsavedWork = m_context.session.hasUnsavedWork();
    m_context.session.markChecked();
    if (unsavedWork && m_context.state.askBeforeDiscarding) {
        if (askSaveChanges()) {
            save();
            m_context.state.askBeforeDiscarding = false;
            return;
        }
        answeredNo = true;
    }

    Prompter::FileRequest request;
    request.directory = QFileInfo(m_picturePath).absolutePath();
    request.filter = QStringLiteral("bmp Files(*.bmp)");
    request.selectedFilter = request.filter;
    const std::optional<Prompter::FileAnswer> answer = m_context.prompter.openFile(this, request);
    if (!answer) {
        return;
    }
    destroyView();
    createView(answer->path);
    if (m_context.session.displayMode() == DisplayMode::FullSize) {
        m_view->updateScrollBars();
    }
    m_view->show();
    m_picturePath = answer->path;
    openMeasurements();
    offerKept();
    if (answeredNo) {
        followHistory();
    }
}

// Shapes saved with the picture come back editable, and so does the scale they were
// measured with, so new shapes read alike.
void PhotoMeasureDialog::openMeasurements()
{
    const MeasurementFiles::Opened opened =
        MeasurementFiles::openBeside(m_picturePath, *m_view, m_context.session);
    if (opened.outcome == MeasurementFiles::Opened::Outcome::Restored) {
        if (const QString box = MeasurementFiles::calibratedBoxText(opened.scales); !box.isEmpty()) {
            m_strip->calibratedBox->setText(box);
        }
        followHistory();
    } else if (opened.outcome == MeasurementFiles::Opened::Outcome::Refused) {
        const QString setAside = opened.setAside.isEmpty()
            ? QStringLiteral("%1 (it could not be renamed)").arg(QDir::toNativeSeparators(opened.file))
            : QDir::toNativeSeparators(opened.setAside);
        m_context.prompter.message(this,
                                   m_context.text.read(Text::MeasureFileRefused)
                                       .arg(QDir::toNativeSeparators(opened.file), opened.refusal, setAside),
                                   Prompter::Icon::Warning);
    }
}

void PhotoMeasureDialog::save()
{
    if (m_view == nullptr) {
        return;
    }
    if (!PictureSaving::run(this, m_context.prompter, m_context.text, m_picturePath,
                            [this](const QString& path) { return m_view->renderToFile(path); })) {
        return;
    }
    // The picture is saved whatever happens here; a measurement file that cannot be written
    // is told, so the user knows the shapes will not come back.
    if (const std::optional<QString> failure =
            MeasurementFiles::saveBeside(m_picturePath, *m_view, m_context.session)) {
        m_context.prompter.message(this,
                                   m_context.text.read(Text::ExportFail)
                                       .arg(QDir::toNativeSeparators(MeasureFile::pathFor(m_picturePath)), *failure),
                                   Prompter::Icon::Warning);
    }
}

void PhotoMeasureDialog::exportMeasurements()
{
    if (m_view == nullptr) {
        return;
    }
    MeasurementExport::run(this, m_context.prompter, m_context.text, m_picturePath,
                           measurementsCsv(m_context.session.shapes(), m_view->savingFactors()));
}

void PhotoMeasureDialog::showToolMenu(bool measuring)
{
    m_view->setTool(Tool::MenuOpen, true);
    m_strip->toolNameBox->clear();
    LatchBitmapButton* pressed = measuring ? m_strip->measureButton : m_strip->drawButton;
    LatchBitmapButton* other = measuring ? m_strip->drawButton : m_strip->measureButton;
    pressed->setLatched(true);
    other->setLatched(false);

    const std::span<const ToolMenuEntry> entries = measuring ? measuringToolMenu() : drawingToolMenu();
    int chosen = 0;
    {
        QMenu menu(this);
        for (std::size_t index = 0; index < entries.size(); ++index) {
            const ToolMenuEntry& entry = entries[index];
            if (entry.isSeparator()) {
                menu.addSeparator();
                continue;
            }
            QAction* action = menu.addAction(QIcon(QString::fromLatin1(entry.icon)), m_context.text.read(*entry.item));
            action->setData(int(index) + 1);
        }
        MenuStyle::apply(menu, kMenuBackground, kMenuHighlight);
        if (const QAction* action = menu.exec(pressed->mapToGlobal(QPoint(0, pressed->height() - 2)))) {
            chosen = action->data().toInt();
        }
    }
    if (chosen > 0 && std::size_t(chosen) <= entries.size() && m_view != nullptr) {
        chooseTool(entries[std::size_t(chosen) - 1], measuring);
    }
}

void PhotoMeasureDialog::chooseTool(const ToolMenuEntry& entry, bool measuring)
{
    if (measuring && !applyScale()) {
        return;
    }
    m_view->setTool(entry.tool, measuring);
    showToolName(m_context.text.read(*entry.name));
}

void PhotoMeasureDialog::penSettings()
{
    unhighlightToolButtons();
    if (m_view == nullptr) {
        return;
    }
    const ShapeStyle& style = m_view->shapeStyle();
    PenSettingDialog dialog(m_context.prompter, m_context.text, this);
    dialog.setValues(PenSetting{int32_t(style.penStyle), int32_t(style.penWidth), m_view->penColor(),
                                style.labelFont, m_view->labelColor()});
    if (dialog.exec() != QDialog::Accepted || m_view == nullptr) {
        return;
    }
    const PenSetting& chosen = dialog.values();
    m_view->setPen(PenStyle(chosen.lineType), uint32_t(chosen.lineWidth), chosen.lineColor);
    m_view->setLabelFont(chosen.labelFont);
    m_view->setLabelColor(chosen.labelColor);
}

void PhotoMeasureDialog::textSettings()
{
    unhighlightToolButtons();
    if (m_view == nullptr) {
        return;
    }
    TextSettingDialog dialog(m_context.prompter, m_context.text, this);
    dialog.setTextColor(m_view->textColor());
    dialog.setTextFont(m_view->shapeStyle().textFont);
    const bool accepted = dialog.exec() == QDialog::Accepted;
    if (m_view == nullptr) {
        return;
    }
    if (accepted) {
        m_view->setTextColor(dialog.textColor());
        m_view->setTextFont(dialog.textFont());
        m_view->setPendingText(dialog.text());
    }
    // Cancel too: the text set earlier, if any, is placed by the next click.
    m_view->setTool(Tool::Text, true);
}

void PhotoMeasureDialog::undo()
{
    m_strip->redoButton->setLatched(true);
    if (m_view != nullptr && m_view->hasShapes()) {
        m_strip->undoButton->setLatched(false);
    }
    unhighlightToolButtons();
    if (m_view != nullptr) {
        m_view->undo();
        showHistory(m_view->hasShapes(), m_view->hasRedo());
    }
}

void PhotoMeasureDialog::redo()
{
    m_strip->undoButton->setLatched(true);
    if (m_view != nullptr && m_view->hasRedo()) {
        m_strip->redoButton->setLatched(false);
    }
    unhighlightToolButtons();
    if (m_view != nullptr) {
        m_view->redo();
        showHistory(m_view->hasShapes(), m_view->hasRedo());
    }
}

void PhotoMeasureDialog::calibrate()
{
    if (m_view == nullptr) {
        return;
    }
    if (!m_scale.beginCalibration(*m_view, m_strip->calibratedBox->text(), m_strip->rateBox->text())) {
        m_context.prompter.message(this, m_context.text.read(Text::EnterRate),
                                   Prompter::Icon::Warning, Prompter::Buttons::Ok);
        return;
    }
    // One calibration per opening of the window.
    m_strip->calibrationButton->setLatched(true);
    m_strip->calibrationButton->setEnabled(false);
    showToolName(m_context.text.read(Text::MeasureLine));
}

void PhotoMeasureDialog::calibrationNotified()
{
    if (m_view == nullptr) {
        return;
    }
    showCalibrated();
    m_offer->calibrated(m_strip->rateBox->text(), m_context.session.pictureWidth(),
                        m_context.session.pictureHeight(), m_context.session.calibrationValue(),
                        m_context.session.actualDistance());
}

// What a calibration gives, taken from a kept one: the same box, scales and notice.
void PhotoMeasureDialog::applyKept(const KeptCalibration& entry)
{
    if (m_view == nullptr) {
        return;
    }
    m_context.session.useCalibration(entry.value);
    m_context.session.setActualDistance(entry.distance);
    showCalibrated();
    offerKept();
}

void PhotoMeasureDialog::showCalibrated()
{
    const ScaleCommands::Calibrated result = m_scale.finishCalibration(*m_view, m_strip->rateBox->text());
    m_strip->calibratedBox->setText(result.boxText);
    emit calibrationChanged();
}

void PhotoMeasureDialog::offerKept()
{
    m_offer->offerFor(m_strip->rateBox->text(), m_context.session.pictureWidth(), m_context.session.pictureHeight(),
                      m_view == nullptr || !m_view->hasPicture() || !m_strip->calibratedBox->text().isEmpty());
}

// While followed, a button lights up as soon as there is work for it, and lights again when
// a click of it or the window's return from minimised put it out. Once both are enabled they
// follow nothing: Redo would otherwise stay disabled after every later Undo.
void PhotoMeasureDialog::showHistory(bool canUndo, bool canRedo)
{
    if (!m_followingHistory) {
        return;
    }
    if (canUndo) {
        m_strip->undoButton->setEnabled(true);
        m_strip->undoButton->setLatched(true);
    }
    if (canRedo) {
        m_strip->redoButton->setEnabled(true);
        m_strip->redoButton->setLatched(true);
    }
    if (m_strip->undoButton->isEnabled() && m_strip->redoButton->isEnabled()) {
        m_followingHistory = false;
    }
}

bool PhotoMeasureDialog::applyScale()
{
    if (m_view != nullptr
        && m_scale.applyScale(*m_view, m_strip->calibratedBox->text(), m_strip->rateBox->text())) {
        return true;
    }
    m_context.prompter.message(this, m_context.text.read(Text::EnterRate),
                               Prompter::Icon::Warning, Prompter::Buttons::Ok);
    return false;
}

bool PhotoMeasureDialog::askSaveChanges()
{
    return m_context.prompter.message(this, m_context.text.read(Text::SureOpen),
                                      Prompter::Icon::Question, Prompter::Buttons::YesNo)
        == Prompter::Answer::Yes;
}

void PhotoMeasureDialog::showToolName(const QString& name)
{
    m_strip->toolNameBox->setText(name);
    // The box is narrow: a long name shows its beginning.
    m_strip->toolNameBox->setCursorPosition(0);
}

void PhotoMeasureDialog::unhighlightToolButtons()
{
    m_strip->drawButton->setLatched(false);
    m_strip->measureButton->setLatched(false);
}

void PhotoMeasureDialog::followHistory()
{
    m_strip->undoButton->setEnabled(false);
    m_strip->redoButton->setEnabled(false);
    m_followingHistory = true;
    if (m_view != nullptr) {
        showHistory(m_view->hasShapes(), m_view->hasRedo());
    }
}

// --- window events -------------------------------------------------------------------------

void PhotoMeasureDialog::paintEvent(QPaintEvent* event)
{
    QDialog::paintEvent(event);
    if (m_strip == nullptr) {
        return;
    }
    QPainter painter(this);
    m_strip->paintScaleLabel(painter, m_layout, width());
}

bool PhotoMeasureDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride
        && static_cast<QKeyEvent*>(event)->keyCombination() == QKeyCombination(Qt::ControlModifier, Qt::Key_E)) {
        // Left unaccepted, the window's export shortcut runs instead of the box's key.
        event->ignore();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void PhotoMeasureDialog::keyPressEvent(QKeyEvent* event)
{
    // Neither key may close the window or press a button; the measuring goes on.
    switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

void PhotoMeasureDialog::closeEvent(QCloseEvent* event)
{
    const Prompter::Answer answer = m_context.prompter.message(
        this, m_context.text.read(Text::SureClose),
        Prompter::Icon::Question, Prompter::Buttons::YesNo);
    if (answer != Prompter::Answer::Yes) {
        event->ignore();
        return;
    }
    m_followingHistory = false;
    QDialog::closeEvent(event);
}

void PhotoMeasureDialog::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    // Maximised, the boxes keep to the right edge; restored, they stay where they are.
    if (m_strip != nullptr && m_layout == PhotoMeasureStrip::Layout::Maximised) {
        m_strip->applyLayout(m_layout, width());
    }
    fitView();
    if (m_view != nullptr && m_view->displayMode() == DisplayMode::FullSize) {
        m_view->updateScrollBars();
    }
    update();
}

void PhotoMeasureDialog::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && m_initialised) {
        // Platforms may report a state more than once, and late; the window acts on the
        // state it settles in, once the platform has finished changing it.
        m_stateSettled.start();
    }
}

// The platform tells of a maximise, restore or minimise once it has happened; a refused
// request is undone by setting the window's state back.
void PhotoMeasureDialog::windowStateSettled()
{
    const Qt::WindowStates before = m_knownState;
    const Qt::WindowStates now = windowState();
    m_knownState = now;
    if (now.testFlag(Qt::WindowMinimized)) {
        m_minimisedMark = true;
        return;
    }
    if (before.testFlag(Qt::WindowMinimized)) {
        // Back from minimised: the view and its shapes stay as they were.
        m_strip->undoButton->setLatched(false);
        m_strip->redoButton->setLatched(false);
        if (m_view != nullptr) {
            showHistory(m_view->hasShapes(), m_view->hasRedo());
        }
        m_minimisedMark = false;
    }
    const bool maximised = now.testFlag(Qt::WindowMaximized) || now.testFlag(Qt::WindowFullScreen);
    if (maximised && m_layout == PhotoMeasureStrip::Layout::Restored) {
        maximiseRequested();
    } else if (!maximised && m_layout == PhotoMeasureStrip::Layout::Maximised) {
        restoreRequested();
    }
}

void PhotoMeasureDialog::maximiseRequested()
{
    bool unsavedWork = false;
    if (m_view != nullptr) {
        unsavedWork = m_context.session.hasUnsavedWork();
        m_context.session.markChecked();
    }
    if (unsavedWork && m_context.state.askBeforeDiscarding) {
        if (askSaveChanges()) {
            save();
            m_context.state.askBeforeDiscarding = false;
            m_minimisedMark = false;
            setStateQuietly(Qt::WindowNoState);
            return;
        }
    }
    m_minimisedMark = false;
    rebuildView(PhotoMeasureStrip::Layout::Maximised);
    update();
}

void PhotoMeasureDialog::restoreRequested()
{
    m_strip->undoButton->setLatched(false);
    m_strip->redoButton->setLatched(false);
    if (m_view != nullptr) {
        showHistory(m_view->hasShapes(), m_view->hasRedo());
    }
    // Coming back from minimised keeps the view: nothing is thrown away, nothing is asked.
    const bool keepsView = m_minimisedMark || m_view == nullptr;
    bool unsavedWork = false;
    if (!keepsView) {
        unsavedWork = m_context.session.hasUnsavedWork();
        m_context.session.markChecked();
    }
    if (unsavedWork && m_context.state.askBeforeDiscarding) {
        if (askSaveChanges()) {
            save();
            m_context.state.askBeforeDiscarding = false;
            m_minimisedMark = false;
            setStateQuietly(Qt::WindowMaximized);
            return;
        }
    }
    if (!keepsView) {
        rebuildView(PhotoMeasureStrip::Layout::Restored);
    }
    m_minimisedMark = false;
    update();
}

void PhotoMeasureDialog::setStateQuietly(Qt::WindowStates state)
{
    m_knownState = state;
    setWindowState(state);
}
