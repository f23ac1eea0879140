#include "capture/videosettingdialog.h"

#include "capture/captureengine.h"
#include "texts/localtext.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const TextEntry* const kRowNames[] = {&Text::Brightness, &Text::Contrast, &Text::Saturation,
                                      &Text::Sharpness,  &Text::Gamma,    &Text::WhiteBalance};

const char* const kResolutionItems[] = {"320x240", "640*480", "1280*1024"};

QString english(const TextEntry& entry)
{
    return QString::fromUtf8(entry.englishDefault.data(), static_cast<int>(entry.englishDefault.size()));
}

QString valueText(int value)
{
    return QString::asprintf("%3d", value);
}

}  // namespace

VideoSettingDialog::VideoSettingDialog(CaptureEngine& engine, const LocalText& text,
                                       std::function<void(int, int)> setResolution, QWidget* parent)
    : QDialog(parent)
    , m_engine(engine)
    , m_text(text)
    , m_setResolution(std::move(setResolution))
{
    buildLayout();
    refresh();
}

ControlRange VideoSettingDialog::fallbackRange(PictureControl control)
{
    // Ranges and defaults of common UVC cameras, so a camera without the control still
    // shows a row that reads like one.
    switch (control) {
    case PictureControl::Brightness: return {-64, 64, 1, 0, false};
    case PictureControl::Contrast: return {0, 64, 1, 32, false};
    case PictureControl::Saturation: return {0, 128, 1, 64, false};
    case PictureControl::Sharpness: return {0, 6, 1, 3, false};
    case PictureControl::Gamma: return {72, 500, 1, 100, false};
    case PictureControl::WhiteBalance: return {2800, 6500, 1, 4600, true};
    }
    return {};
}

void VideoSettingDialog::buildLayout()
{
    // Until a camera is there the dialog shows its own English texts.
    setWindowTitle(english(Text::VideoSetting));
    auto* layout = new QVBoxLayout(this);

    m_deviceGroup = new QGroupBox(english(Text::VideoCaptionDevice), this);
    auto* deviceLayout = new QHBoxLayout(m_deviceGroup);
    m_deviceLabel = new QLabel(english(Text::DeviceName), m_deviceGroup);
    m_devices = new QComboBox(m_deviceGroup);
    m_devices->setMinimumContentsLength(24);
    deviceLayout->addWidget(m_deviceLabel);
    deviceLayout->addWidget(m_devices, 1);
    layout->addWidget(m_deviceGroup);

    m_settingGroup = new QGroupBox(english(Text::DeviceSetting), this);
    auto* settingLayout = new QGridLayout(m_settingGroup);
    // The norm row belongs to analogue video inputs; a microscope has none, so it stays hidden.
    m_normLabel = new QLabel(english(Text::VideoNorm), m_settingGroup);
    auto* norms = new QComboBox(m_settingGroup);
    m_normLabel->hide();
    norms->hide();
    settingLayout->addWidget(m_normLabel, 0, 0);
    settingLayout->addWidget(norms, 0, 1);
    m_resolutionLabel = new QLabel(english(Text::VideoResolution), m_settingGroup);
    m_resolutions = new QComboBox(m_settingGroup);
    settingLayout->addWidget(m_resolutionLabel, 1, 0);
    settingLayout->addWidget(m_resolutions, 1, 1);
    layout->addWidget(m_settingGroup);

    m_propertyGroup = new QGroupBox(english(Text::VideoProperies), this);
    auto* rows = new QGridLayout(m_propertyGroup);
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        Row& row = m_rows[i];
        row.control = static_cast<PictureControl>(i);
        row.label = new QLabel(english(*kRowNames[i]), m_propertyGroup);
        row.slider = new QSlider(Qt::Horizontal, m_propertyGroup);
        row.slider->setTickPosition(QSlider::NoTicks);
        row.slider->setMinimumWidth(200);
        row.value = new QLineEdit(m_propertyGroup);
        row.value->setReadOnly(true);
        row.value->setFixedWidth(row.value->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 8);
        row.up = new QToolButton(m_propertyGroup);
        row.up->setArrowType(Qt::UpArrow);
        row.down = new QToolButton(m_propertyGroup);
        row.down->setArrowType(Qt::DownArrow);
        for (QToolButton* arrow : {row.up, row.down}) {
            arrow->setFixedSize(16, 11);
            arrow->setAutoRepeat(true);
        }
        auto* arrows = new QVBoxLayout;
        arrows->setSpacing(0);
        arrows->addWidget(row.up);
        arrows->addWidget(row.down);
        const int line = static_cast<int>(i);
        rows->addWidget(row.label, line, 0);
        rows->addWidget(row.slider, line, 1);
        rows->addWidget(row.value, line, 2);
        rows->addLayout(arrows, line, 3);
        connect(row.slider, &QSlider::valueChanged, this, [this, &row](int value) { sliderMoved(row, value); });
        connect(row.up, &QToolButton::clicked, this, [this, &row] { step(row, 1); });
        connect(row.down, &QToolButton::clicked, this, [this, &row] { step(row, -1); });
    }
    // Hue is a picture control of analogue cameras; its row is kept out of sight.
    auto* hue = new QLabel(QStringLiteral("Hue"), m_propertyGroup);
    hue->hide();
    rows->addWidget(hue, static_cast<int>(m_rows.size()), 0);
    layout->addWidget(m_propertyGroup);

    auto* buttons = new QHBoxLayout;
    m_default = new QPushButton(english(Text::Default), this);
    m_ok = new QPushButton(english(Text::VideoSettingOk), this);
    m_exit = new QPushButton(english(Text::Exit), this);
    m_ok->setDefault(true);
    buttons->addWidget(m_default);
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_exit);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_default, &QPushButton::clicked, this, &VideoSettingDialog::restoreDefaults);
    connect(m_exit, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_resolutions, &QComboBox::currentIndexChanged, this, &VideoSettingDialog::applySelectedResolution);
    connect(m_devices, &QComboBox::currentIndexChanged, this, &VideoSettingDialog::deviceChosen);
}

void VideoSettingDialog::localise()
{
    setWindowTitle(m_text.read(Text::VideoSetting));
    m_deviceGroup->setTitle(m_text.read(Text::VideoCaptionDevice));
    m_deviceLabel->setText(m_text.read(Text::DeviceName));
    m_settingGroup->setTitle(m_text.read(Text::DeviceSetting));
    m_normLabel->setText(m_text.read(Text::VideoNorm));
    m_resolutionLabel->setText(m_text.read(Text::VideoResolution));
    m_propertyGroup->setTitle(m_text.read(Text::VideoProperies));
    m_default->setText(m_text.read(Text::Default));
    m_exit->setText(m_text.read(Text::Exit));
    m_ok->setText(m_text.read(Text::VideoSettingOk));
}

void VideoSettingDialog::refresh()
{
    const QSignalBlocker devicesQuiet(m_devices);
    const QSignalBlocker resolutionsQuiet(m_resolutions);
    m_devices->clear();
    m_resolutions->clear();
    CameraSource* camera = m_engine.camera();
    if (camera == nullptr) {
        return;
    }
    for (Row& row : m_rows) {
        const ControlRange range = camera->controlRange(row.control).value_or(fallbackRange(row.control));
        const int value = camera->controlValue(row.control).value_or(range.defaultValue);
        const QSignalBlocker quiet(row.slider);
        row.slider->setRange(range.minimum, range.maximum);
        row.slider->setSingleStep(std::max(1, range.step));
        row.slider->setValue(value);
        row.value->setText(valueText(row.slider->value()));
        row.label->setText(m_text.read(*kRowNames[static_cast<std::size_t>(row.control)]));
    }
    localise();

    const auto& records = m_engine.devices().records();
    for (std::size_t i = 0; i < records.size(); ++i) {
        const DeviceRecord& record = records[i];
        if (record.matchIndex >= 0 && !record.listed.device.friendlyName.empty()) {
            m_devices->addItem(QString::fromStdString(record.listed.device.friendlyName), static_cast<int>(i));
            if (static_cast<int>(i) == m_engine.devices().currentIndex()) {
                m_devices->setCurrentIndex(m_devices->count() - 1);
            }
        }
    }

    for (const char* item : kResolutionItems) {
        m_resolutions->addItem(QString::fromLatin1(item));
    }
    // The frames being delivered decide, not the size asked for: before the first frame
    // that is the smallest.
    const int width = m_engine.frameSize().width();
    m_resolutions->setCurrentIndex(width > 640 ? 2 : width > 320 ? 1 : 0);
}

void VideoSettingDialog::sliderMoved(Row& row, int value)
{
    m_engine.setControl(row.control, value, false);
    row.value->setText(valueText(value));
}

void VideoSettingDialog::step(Row& row, int delta)
{
    const int value = std::clamp(row.slider->value() + delta, row.slider->minimum(), row.slider->maximum());
    if (value != row.slider->value()) {
        row.slider->setValue(value);
    }
}

void VideoSettingDialog::restoreDefaults()
{
    CameraSource* camera = m_engine.camera();
    for (Row& row : m_rows) {
        const ControlRange range = camera != nullptr ? camera->controlRange(row.control).value_or(fallbackRange(row.control))
                                                     : fallbackRange(row.control);
        const QSignalBlocker quiet(row.slider);
        row.slider->setValue(range.defaultValue);
        // Through the engine, so the defaults are what this microscope keeps from now on.
        m_engine.setControl(row.control, range.defaultValue, true);
        row.value->setText(valueText(row.slider->value()));
    }
    {
        const QSignalBlocker quiet(m_resolutions);
        m_resolutions->setCurrentIndex(m_resolutions->count() - 1);
    }
    m_setResolution(1280, 1024);
}

void VideoSettingDialog::applySelectedResolution()
{
    switch (m_resolutions->currentIndex()) {
    case 0: m_setResolution(320, 240); break;
    case 1: m_setResolution(640, 480); break;
    default: m_setResolution(1280, 1024); break;
    }
}

void VideoSettingDialog::deviceChosen(int item)
{
    if (item < 0) {
        return;
    }
    m_engine.switchDevice(m_devices->itemData(item).toInt());
    refresh();
}

void VideoSettingDialog::accept()
{
    applySelectedResolution();
    QDialog::accept();
}
