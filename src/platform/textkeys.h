#pragma once

#include <array>
#include <string_view>

/// Buffer sizes in bytes that the program's windows read their localised texts into; a
/// text is cut to one byte less.
namespace TextBuffer {
inline constexpr int defaultButton = 16;  ///< the Video Setting dialog's Default button
inline constexpr int scaleLabel = 24;     ///< the "Scale:" label of the photo-measure window
inline constexpr int menu = 25;           ///< main menu bar and gallery pop-up menu items
/// The Take Video menu item: its English text "Take Video/Stop...  F3/F4" is 25 characters,
/// one more than a menu buffer holds, and a cut would show the key name as "F3/F".
inline constexpr int takeVideoMenu = 26;
inline constexpr int label = 30;          ///< dialog texts, tool menus and tool names, main tool tips
inline constexpr int propertyName = 32;   ///< the six video property row labels
inline constexpr int about = 60;          ///< About box and calibration dialog texts
inline constexpr int message = 64;        ///< message boxes, photo-measure tool tips, status message
inline constexpr int counterUnit = 10;    ///< the word after the recording counter
}  // namespace TextBuffer

/// One localisation key: its English default and the smallest buffer any of its callers
/// reads it into. A key used at several places with different defaults lists the one the
/// English language file carries.
struct TextKey {
    std::string_view key;
    std::string_view englishDefault;
    int bufferSize;
};

/// Every key the program looks up in the "Morrow" section of a language file. Keys are
/// spelt as existing language files spell them, misspellings included. "Delete " and
/// "Delete", "OK" and "Ok", "SaveAll" and "SaveALL" name the same entries, because keys
/// compare ignoring case and surrounding blanks.
inline constexpr std::array<TextKey, 143> textKeys{{
    {"1280*1024", "1280 x 1024  F12", TextBuffer::menu},
    {"640*480", "640 x 480    F11", TextBuffer::menu},
    {"AboutCopyright", "Copyright (C) 2008 Quillon", TextBuffer::about},
    // The two hyperlink lines draw their own texts; these only name the control.
    {"AboutDescription", "https://quillon.example", TextBuffer::about},
    {"AboutVersion", "Version 1.00.0031.01", TextBuffer::about},
    {"AboutViewMorrow1", "About Quillon", TextBuffer::about},
    {"AboutViewMorrow2", "support@quillon.example", TextBuffer::about},
    {"Angle", "Angle", TextBuffer::label},
    {"BrowseToCamera", "Please return to the preview state", TextBuffer::message},
    {"BrowseToTimer", "Please return to the preview state", TextBuffer::message},
    {"Cancel", "Cancel", TextBuffer::label},
    {"Capture", "Capture", TextBuffer::menu},
    {"CaptureSetting", "Capture Setting", TextBuffer::label},
    {"Circle", "Circle", TextBuffer::menu},
    {"Completed", "Completed", TextBuffer::label},
    {"Compress", "Compress", TextBuffer::label},
    {"CompressTilte", "Compress Format Selection", TextBuffer::message},
    {"ConnectMsg", "Please connect Quillon USB Digital Microscope", TextBuffer::message},
    {"Continuousline", "Continuous line", TextBuffer::label},
    {"Cross", "Cross Line", TextBuffer::menu},
    {"DashDotDotLine", "DashDot Line2", TextBuffer::label},
    {"DashDotLine", "DashDot Line1", TextBuffer::label},
    {"DashLine", "Dash Line", TextBuffer::label},
    {"Default", "Default", TextBuffer::defaultButton},
    {"Delete ", "Delete...", TextBuffer::menu},
    {"Delete", "Delete...", TextBuffer::menu},
    {"DeleteAll", "Delete All", TextBuffer::menu},
    {"Device...", "Video Settings", TextBuffer::menu},
    {"DeviceName", "Device Name", TextBuffer::label},
    {"DeviceSetting", "Device Setting", TextBuffer::label},
    {"Diametercircle", "Diameter Circle", TextBuffer::label},
    {"DotLine", "Dot Line", TextBuffer::label},
    {"DrawAngle", "Angle", TextBuffer::label},
    {"DrawContinueline", "Continue Line", TextBuffer::label},
    {"DrawDiametercircle", "Diameter Circle", TextBuffer::label},
    {"DrawLine", "Line", TextBuffer::label},
    {"DrawRadialCircle", "Radial Circle", TextBuffer::label},
    {"DrawRectangle", "Rectangle", TextBuffer::label},
    {"DrawThreePointCircle", "Three Point Circle", TextBuffer::label},
    {"EMail", "E-Mail...", TextBuffer::menu},
    {"EnterActualDistance", "Please enter actual distance (mm)", TextBuffer::about},
    {"EnterDigital", "Please enter digital!", TextBuffer::message},
    {"EnterRate", "Please input the zoomIn scale!", TextBuffer::message},
    {"EnterText", "Please enter text:", TextBuffer::label},
    {"EscRestore", "ESC Restore", TextBuffer::label},
    {"Exit", "Exit", TextBuffer::label},
    {"File", "File", TextBuffer::menu},
    {"FileSize", "File Size", TextBuffer::label},
    {"Font", "Font", TextBuffer::label},
    {"Fourpointangle", "Four Point Angle", TextBuffer::label},
    {"Frame", "Frame", TextBuffer::label},
    {"FrameRate", "Frame rate", TextBuffer::label},
    {"Help", "Help", TextBuffer::menu},
    {"Interval", "Interval", TextBuffer::label},
    {"LinePriview", "Preview", TextBuffer::label},
    {"MeasureAngle", "Angle", TextBuffer::label},
    {"MeasureContinueline", "Continue Line", TextBuffer::label},
    {"MeasureDiameterCircle", "Diameter Circle", TextBuffer::label},
    {"MeasureFourPointCircle", "Four point Angle", TextBuffer::label},
    {"MeasureLine", "Line", TextBuffer::label},
    {"MeasurePloygon", "Ploygon", TextBuffer::label},
    {"MeasureRectangle", "Rectangle", TextBuffer::label},
    {"MeasureRedialCircle", "Radius Circle", TextBuffer::label},
    {"MeasureThreePointCircle", "Three Point Circle", TextBuffer::label},
    {"OK", "OK", TextBuffer::label},
    {"Ok", "OK", TextBuffer::label},
    {"Open", "Open...", TextBuffer::menu},
    {"OpenFileFail", "Can not Open file", TextBuffer::message},
    {"PenColor", "Colour", TextBuffer::label},
    {"PenColorLine", "Line Colour", TextBuffer::label},
    {"PenSetting", "Pen setting", TextBuffer::label},
    {"PenType", "Pen Type", TextBuffer::label},
    {"PenWidth", "Line Width", TextBuffer::label},
    {"PhotoMeasure", "Photo Measure", TextBuffer::message},
    {"Ploygon", "Ploygon", TextBuffer::label},
    {"Preview", "Preview", TextBuffer::label},
    {"RadialCircle", "Radius Circle", TextBuffer::label},
    {"Rate", "Scale:", TextBuffer::scaleLabel},
    {"RecorderSetting", "Recorder Setting", TextBuffer::label},
    // The draw menu's own default reads "Retangle"; the file carries the right spelling.
    {"Rectangle", "Rectangle", TextBuffer::label},
    {"Save", "Save As", TextBuffer::menu},
    {"SaveAll", "Save All", TextBuffer::menu},
    {"SaveALL", "Save All", TextBuffer::menu},
    {"SaveFail", "Save fail", TextBuffer::message},
    {"SaveSuccessfull", "Save successfully!", TextBuffer::message},
    {"Scale", "Scale", TextBuffer::menu},
    // The recorder dialog's unit label defaults to "Second", the recording counter to
    // "Seconds"; the counter's buffer is the small one.
    {"Second", "Seconds", TextBuffer::counterUnit},
    {"SelectFile", "Please select an image or video", TextBuffer::message},
    {"SEND_CAMPLETE", "Send Completed", TextBuffer::message},
    {"SET_TIMER_FAIL", "The time of your setting must be a future time!", TextBuffer::message},
    {"Setting", "Setting", TextBuffer::menu},
    {"SolidLine", "Solid Line", TextBuffer::label},
    {"Start", "Start", TextBuffer::label},
    {"StartOutlook", "Start outlook, Please waiting....", TextBuffer::message},
    {"StartTime", "Start Time", TextBuffer::label},
    {"Stop", "Stop", TextBuffer::label},
    {"straightline", "Line", TextBuffer::label},
    {"SureClose", "Are you sure to close?", TextBuffer::message},
    {"SureDelete", "Are you sure to delete?", TextBuffer::message},
    {"SureDeleteAll", "Are you sure to delete all?", TextBuffer::message},
    {"SureOpen", "Save changes to...", TextBuffer::message},
    {"Take Picture", "Take images...      F2", TextBuffer::menu},
    {"Take time lapsed Pictures", "Take time lapsed images", TextBuffer::menu},
    {"Take Video", "Take Video/Stop...  F3/F4", TextBuffer::takeVideoMenu},
    {"TextSetting", "Text", TextBuffer::label},
    {"Threepointcircle", "Three Point Circle", TextBuffer::label},
    {"Time", "Time", TextBuffer::menu},
    {"TimerLimit", "Time limit", TextBuffer::label},
    {"TipCalibration", "Calibration", TextBuffer::about},
    {"TipCamera", "Camera", TextBuffer::label},
    {"TipCircle", "Measure", TextBuffer::message},
    {"TipDelete", "Undo", TextBuffer::message},
    {"TipEMail", "E-Mail", TextBuffer::label},
    {"TipFirst", "First", TextBuffer::label},
    {"TipForward", "Forward", TextBuffer::label},
    {"TipLast", "Last", TextBuffer::label},
    {"TipLine", "Paint", TextBuffer::message},
    {"TipOpen", "Open", TextBuffer::message},
    {"TipPause", "Pause", TextBuffer::label},
    {"TipPlay", "Play", TextBuffer::label},
    {"TipPreview", "Preview", TextBuffer::label},
    {"TipRectangle", "Pen setting", TextBuffer::message},
    {"TipResume", "Redo", TextBuffer::message},
    {"TipReward", "Backward", TextBuffer::label},
    {"TipSave", "Save As", TextBuffer::label},
    {"TipSetting", "Setting", TextBuffer::label},
    {"TipStop", "Stop", TextBuffer::label},
    {"TipText", "Text setting", TextBuffer::message},
    {"TipTimer", "Timer", TextBuffer::label},
    {"TipVideo", "Recording Video", TextBuffer::label},
    {"VideoCaptionDevice", "Video Capture Device", TextBuffer::label},
    {"VideoNorm", "Video Norm", TextBuffer::label},
    {"VideoPlayer", "Video Player", TextBuffer::label},
    {"VideoProperies", "Video Properies", TextBuffer::label},
    {"VideoResolution", "Video Resolution", TextBuffer::label},
    {"VideoSetting", "Video Setting", TextBuffer::label},
    {"ViewMorrowAbout", "About Quillon", TextBuffer::menu},
    // The video property names double as their keys.
    {"Brightness", "Brightness", TextBuffer::propertyName},
    {"Contrast", "Contrast", TextBuffer::propertyName},
    {"Saturation", "Saturation", TextBuffer::propertyName},
    {"Sharpness", "Sharpness", TextBuffer::propertyName},
    {"Gamma", "Gamma", TextBuffer::propertyName},
    {"WhiteBalance", "WhiteBalance", TextBuffer::propertyName},
}};
