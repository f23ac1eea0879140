#pragma once

#include "photomeasure/photomeasureopener.h"
#include "photomeasure/photomeasurestrip.h"
#include "photomeasure/scalecommands.h"

#include <QDialog>
#include <QPointer>
#include <QTimer>

#include <memory>

class KeptCalibrationOffer;
class MeasureView;
struct KeptCalibration;
struct ToolMenuEntry;

/// The photo-measure window: one picture in a measurement view below a tool strip. It turns
/// the strip's commands into calls on the view (tools, pens and fonts, undo and redo,
/// calibration, save, open another picture), works out the scale from its scale boxes, asks
/// before work is thrown away and rebuilds the view when the window is maximised (picture at
/// its own size with scroll bars) or restored (picture fitted).
///
/// The opener sets the picture path between construction and the modal run (see
/// runPhotoMeasure); the window sets itself up when it is first shown.
class PhotoMeasureDialog : public QDialog {
    Q_OBJECT
public:
    /// Client sizes: for a 1280 x 1024 picture, and for any other.
    static constexpr QSize kLargePictureClientSize{647, 575};
    static constexpr QSize kClientSize{647, 543};

    explicit PhotoMeasureDialog(PhotoMeasureContext context, QWidget* parent = nullptr);
    ~PhotoMeasureDialog() override;

    void setPicturePath(const QString& path) { m_picturePath = path; }
    const QString& picturePath() const { return m_picturePath; }

    MeasureView* view() const { return m_view; }
    PhotoMeasureStrip& strip() { return *m_strip; }
    PhotoMeasureStrip::Layout layout() const { return m_layout; }
    KeptCalibrationOffer& keptOffer() { return *m_offer; }

    void setVisible(bool visible) override;

signals:
    /// A calibration gave a new scale (the session's calibration value).
    void calibrationChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void initialise();
    void createView(const QString& path);
    void destroyView();
    void fitView();
    void rebuildView(PhotoMeasureStrip::Layout layout);

    void openPicture();
    void openMeasurements();
    void save();
    void exportMeasurements();
    void showToolMenu(bool measuring);
    void chooseTool(const ToolMenuEntry& entry, bool measuring);
    void penSettings();
    void textSettings();
    void undo();
    void redo();
    void calibrate();
    void calibrationNotified();
    void applyKept(const KeptCalibration& entry);
    void showCalibrated();
    void offerKept();

    bool applyScale();
    bool askSaveChanges();
    void showToolName(const QString& name);
    void unhighlightToolButtons();
    void followHistory();
    void showHistory(bool canUndo, bool canRedo);

    void windowStateSettled();
    void maximiseRequested();
    void restoreRequested();
    void setStateQuietly(Qt::WindowStates state);

    PhotoMeasureContext m_context;
    ScaleCommands m_scale;
    std::unique_ptr<PhotoMeasureStrip> m_strip;
    KeptCalibrationOffer* m_offer = nullptr;  // a child
    MeasureView* m_view = nullptr;  // a child; made and deleted only here
    QString m_picturePath;
    /// Undo and Redo were disabled for a new picture or view and light up as there is work
    /// for them; once both are enabled they are left alone.
    bool m_followingHistory = false;
    PhotoMeasureStrip::Layout m_layout = PhotoMeasureStrip::Layout::Restored;
    bool m_initialised = false;
    bool m_minimisedMark = false;
    /// The window state last acted on; a refused maximise or restore sets it back itself.
    Qt::WindowStates m_knownState = Qt::WindowNoState;
    QTimer m_stateSettled;
};
