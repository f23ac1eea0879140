#pragma once

#include <string_view>

/// One localised text: the key it is looked up by in the "Morrow" section of a language
/// file, the size in bytes of the buffer it is read into (a text is cut to one byte less)
/// and what shows when the file or the key is missing.
struct TextEntry {
    std::string_view key;
    int bufferSize;
    std::string_view englishDefault;
};

/// Every text the program reads from a language file, one entry per place of use where
/// the places differ in buffer size or default. Keys are spelt as the language files
/// spell them, misspellings included; keys compare ignoring case and surrounding blanks,
/// so "Delete " and "Delete", "OK" and "Ok", "SaveAll" and "SaveALL" name the same
/// line of a file.
namespace Text {

// The main menu bar and the gallery's pop-up menu read into 25 bytes.
inline constexpr TextEntry File{"File", 25, "File"};
inline constexpr TextEntry Setting{"Setting", 25, "Setting"};
inline constexpr TextEntry Capture{"Capture", 25, "Capture"};
inline constexpr TextEntry Help{"Help", 25, "Help"};
inline constexpr TextEntry Open{"Open", 25, "Open..."};
inline constexpr TextEntry Save{"Save", 25, "Save As"};
inline constexpr TextEntry SaveAll{"SaveAll", 25, "Save All"};
inline constexpr TextEntry SaveAllGallery{"SaveALL", 25, "Save All"};
inline constexpr TextEntry Delete{"Delete ", 25, "Delete..."};
inline constexpr TextEntry DeleteGallery{"Delete", 25, "Delete..."};
inline constexpr TextEntry DeleteAll{"DeleteAll", 25, "Delete All"};
inline constexpr TextEntry EMail{"EMail", 25, "E-Mail..."};
inline constexpr TextEntry Resolution640{"640*480", 25, "640 x 480    F11"};
inline constexpr TextEntry Resolution1280{"1280*1024", 25, "1280 x 1024  F12"};
inline constexpr TextEntry Device{"Device...", 25, "Video Settings"};
inline constexpr TextEntry Cross{"Cross", 25, "Cross Line"};
inline constexpr TextEntry Scale{"Scale", 25, "Scale"};
inline constexpr TextEntry Circle{"Circle", 25, "Circle"};
inline constexpr TextEntry Time{"Time", 25, "Time"};
/// The calibrated scale bar over the live picture.
inline constexpr TextEntry ScaleBar{"ScaleBar", 25, "Scale Bar"};
inline constexpr TextEntry TakePicture{"Take Picture", 25, "Take images...      F2"};
/// Its English text is 25 characters, one more than a menu buffer holds, and a cut would
/// show the key name as "F3/F".
inline constexpr TextEntry TakeVideo{"Take Video", 26, "Take Video/Stop...  F3/F4"};
inline constexpr TextEntry TakeTimeLapsedPictures{"Take time lapsed Pictures", 25, "Take time lapsed images"};
inline constexpr TextEntry ViewMorrowAbout{"ViewMorrowAbout", 25, "About Quillon"};

// The live view's overlay menu reads the same keys as the Setting menu into 30 bytes.
inline constexpr TextEntry CrossOverlay{"Cross", 30, "Cross Line"};
inline constexpr TextEntry ScaleOverlay{"Scale", 30, "Scale"};
inline constexpr TextEntry CircleOverlay{"Circle", 30, "Circle"};
inline constexpr TextEntry TimeOverlay{"Time", 30, "Time"};
inline constexpr TextEntry ScaleBarOverlay{"ScaleBar", 30, "Scale Bar"};

// The main window and its tool bar.
inline constexpr TextEntry EscRestore{"EscRestore", 30, "ESC Restore"};
/// The "Scale:" label before the scale box, of the main and the photo-measure window.
inline constexpr TextEntry Rate{"Rate", 24, "Scale:"};
inline constexpr TextEntry ConnectMsg{"ConnectMsg", 64, "Please connect Quillon USB Digital Microscope"};
inline constexpr TextEntry BrowseToCamera{"BrowseToCamera", 64, "Please return to the preview state"};
inline constexpr TextEntry BrowseToTimer{"BrowseToTimer", 64, "Please return to the preview state"};
inline constexpr TextEntry TipPreview{"TipPreview", 30, "Preview"};
inline constexpr TextEntry TipCamera{"TipCamera", 30, "Camera"};
inline constexpr TextEntry TipVideo{"TipVideo", 30, "Recording Video"};
inline constexpr TextEntry TipTimer{"TipTimer", 30, "Timer"};
inline constexpr TextEntry TipSetting{"TipSetting", 30, "Setting"};
inline constexpr TextEntry TipSave{"TipSave", 30, "Save As"};
inline constexpr TextEntry TipEMail{"TipEMail", 30, "E-Mail"};

/// The player's refusal of a clip; %1 is the clip's file name and the reason.
inline constexpr TextEntry ClipCannotPlay{"ClipCannotPlay", 128, "This clip cannot be played: %1"};
// Shown instead of the connect message when the microscope's node is there but closed to this
// user.
inline constexpr TextEntry CameraNoPermission{"CameraNoPermission", 64,
                                              "No access to the microscope: join the group video"};
// The photo-measure window's export of its measurements as a table, and its failure (%1 is
// the file, %2 the system's reason).
inline constexpr TextEntry ExportMeasurements{"ExportMeasurements", 64, "Export measurements…"};
inline constexpr TextEntry ExportFail{"ExportFail", 128, "Could not write %1: %2"};
// A measurement file beside an opened picture that could not be used: %1 is the file, %2
// why, %3 where it was moved.
inline constexpr TextEntry MeasureFileRefused{
    "MeasureFileRefused", 256,
    "The measurements in %1 were not opened: %2. The file was set aside as %3; the picture opens without them."};

// Calibrations kept per magnification and picture size: the photo-measure window's keep and
// apply commands (%1 the magnification such as "200X", %2 x %3 the picture size; %1 the
// kept value and %2 the magnification), the list of kept ones and its columns and buttons,
// and the messages when the list cannot be read or changed (%1 the reason).
inline constexpr TextEntry KeepCalibration{"KeepCalibration", 64, "Keep for %1 at %2 × %3"};
inline constexpr TextEntry ApplyKeptCalibration{"ApplyKeptCalibration", 64, "Apply kept %1 (%2)"};
inline constexpr TextEntry KeptCalibrations{"KeptCalibrations", 64, "Kept calibrations…"};
inline constexpr TextEntry KeptCalibrationsTitle{"KeptCalibrationsTitle", 64, "Kept calibrations"};
inline constexpr TextEntry KeptName{"KeptName", 30, "Name"};
inline constexpr TextEntry KeptMagnification{"KeptMagnification", 30, "Magnification"};
inline constexpr TextEntry KeptPictureSize{"KeptPictureSize", 30, "Picture size"};
inline constexpr TextEntry KeptScale{"KeptScale", 30, "Scale"};
inline constexpr TextEntry KeptDistance{"KeptDistance", 30, "Distance (mm)"};
inline constexpr TextEntry KeptDate{"KeptDate", 30, "Kept on"};
inline constexpr TextEntry KeptRename{"KeptRename", 30, "Rename"};
inline constexpr TextEntry KeptDelete{"KeptDelete", 30, "Delete"};
inline constexpr TextEntry KeptClose{"KeptClose", 30, "Close"};
inline constexpr TextEntry KeptUnreadable{"KeptUnreadable", 256,
                                          "The kept calibrations could not be read (%1). None are offered; "
                                          "the file is set aside when one is kept."};
inline constexpr TextEntry KeptChangeFail{"KeptChangeFail", 256, "The kept calibrations could not be changed: %1"};

// The About box reads into 60 bytes. The two hyperlink lines draw their own texts; theirs
// only name the control.
inline constexpr TextEntry AboutViewMorrow1{"AboutViewMorrow1", 60, "About Quillon"};
inline constexpr TextEntry AboutVersion{"AboutVersion", 60, "Version 1.00.0031.01"};
inline constexpr TextEntry AboutCopyright{"AboutCopyright", 60, "Copyright (C) 2008 Quillon"};
inline constexpr TextEntry AboutViewMorrow2{"AboutViewMorrow2", 60, "support@quillon.example"};
inline constexpr TextEntry AboutDescription{"AboutDescription", 60, "https://quillon.example"};
inline constexpr TextEntry AboutOk{"Ok", 60, "OK"};

// Messages of the gallery's file commands, mail and the measurement view.
inline constexpr TextEntry SelectFile{"SelectFile", 64, "Please select an image or video"};
inline constexpr TextEntry SureDelete{"SureDelete", 64, "Are you sure to delete?"};
inline constexpr TextEntry SureDeleteAll{"SureDeleteAll", 64, "Are you sure to delete all?"};
inline constexpr TextEntry StartOutlook{"StartOutlook", 64, "Start outlook, Please waiting...."};
inline constexpr TextEntry SendCamplete{"SEND_CAMPLETE", 64, "Send Completed"};
inline constexpr TextEntry OpenFileFail{"OpenFileFail", 64, "Can not Open file"};

// The photo-measure window: title, messages and the strip's tool tips read into 64 bytes.
inline constexpr TextEntry PhotoMeasure{"PhotoMeasure", 64, "Photo Measure"};
inline constexpr TextEntry EnterRate{"EnterRate", 64, "Please input the zoomIn scale!"};
inline constexpr TextEntry SureOpen{"SureOpen", 64, "Save changes to..."};
inline constexpr TextEntry SureClose{"SureClose", 64, "Are you sure to close?"};
inline constexpr TextEntry SaveSuccessfull{"SaveSuccessfull", 64, "Save successfully!"};
inline constexpr TextEntry SaveFail{"SaveFail", 64, "Save fail"};
inline constexpr TextEntry TipOpen{"TipOpen", 64, "Open"};
inline constexpr TextEntry TipSaveStrip{"TipSave", 64, "Save As"};
inline constexpr TextEntry TipLine{"TipLine", 64, "Paint"};
inline constexpr TextEntry TipCircle{"TipCircle", 64, "Measure"};
inline constexpr TextEntry TipRectangle{"TipRectangle", 64, "Pen setting"};
inline constexpr TextEntry TipText{"TipText", 64, "Text setting"};
inline constexpr TextEntry TipDelete{"TipDelete", 64, "Undo"};
inline constexpr TextEntry TipResume{"TipResume", 64, "Redo"};
inline constexpr TextEntry TipCalibrationStrip{"TipCalibration", 64, "Calibration"};

// The drawing and measuring tool menus: item texts and the names the tool name box shows,
// read into 30 bytes.
inline constexpr TextEntry Straightline{"straightline", 30, "Line"};
inline constexpr TextEntry Continuousline{"Continuousline", 30, "Continuous line"};
inline constexpr TextEntry Angle{"Angle", 30, "Angle"};
inline constexpr TextEntry Rectangle{"Rectangle", 30, "Rectangle"};
/// The drawing menu's own default; the language files carry the right spelling.
inline constexpr TextEntry RectangleDrawMenu{"Rectangle", 30, "Retangle"};
inline constexpr TextEntry Ploygon{"Ploygon", 30, "Ploygon"};
inline constexpr TextEntry RadialCircle{"RadialCircle", 30, "Radius Circle"};
inline constexpr TextEntry Diametercircle{"Diametercircle", 30, "Diameter Circle"};
inline constexpr TextEntry Threepointcircle{"Threepointcircle", 30, "Three Point Circle"};
/// The drawing menu's own default, as against the files' "Three Point Circle".
inline constexpr TextEntry ThreepointcircleDrawMenu{"Threepointcircle", 30, "Three Points Circle"};
inline constexpr TextEntry Fourpointangle{"Fourpointangle", 30, "Four Point Angle"};
inline constexpr TextEntry DrawLine{"DrawLine", 30, "Line"};
inline constexpr TextEntry DrawContinueline{"DrawContinueline", 30, "Continue Line"};
inline constexpr TextEntry DrawAngle{"DrawAngle", 30, "Angle"};
inline constexpr TextEntry DrawRectangle{"DrawRectangle", 30, "Rectangle"};
inline constexpr TextEntry DrawRadialCircle{"DrawRadialCircle", 30, "Radial Circle"};
inline constexpr TextEntry DrawDiametercircle{"DrawDiametercircle", 30, "Diameter Circle"};
inline constexpr TextEntry DrawThreePointCircle{"DrawThreePointCircle", 30, "Three Point Circle"};
inline constexpr TextEntry MeasureLine{"MeasureLine", 30, "Line"};
inline constexpr TextEntry MeasureContinueline{"MeasureContinueline", 30, "Continue Line"};
inline constexpr TextEntry MeasureRectangle{"MeasureRectangle", 30, "Rectangle"};
inline constexpr TextEntry MeasurePloygon{"MeasurePloygon", 30, "Ploygon"};
inline constexpr TextEntry MeasureRedialCircle{"MeasureRedialCircle", 30, "Radius Circle"};
inline constexpr TextEntry MeasureDiameterCircle{"MeasureDiameterCircle", 30, "Diameter Circle"};
inline constexpr TextEntry MeasureThreePointCircle{"MeasureThreePointCircle", 30, "Three Point Circle"};
inline constexpr TextEntry MeasureAngle{"MeasureAngle", 30, "Angle"};
inline constexpr TextEntry MeasureFourPointCircle{"MeasureFourPointCircle", 30, "Four point Angle"};

// The calibration, pen and text dialogs: buttons and labels read into 30 bytes, the
// calibration dialog's title and prompt into 60, its refusal into 64.
inline constexpr TextEntry TipCalibration{"TipCalibration", 60, "Calibration"};
inline constexpr TextEntry EnterActualDistance{"EnterActualDistance", 60, "Please enter actual distance (mm)"};
inline constexpr TextEntry EnterDigital{"EnterDigital", 64, "Please enter digital!"};
inline constexpr TextEntry OK{"OK", 30, "OK"};
inline constexpr TextEntry Cancel{"Cancel", 30, "Cancel"};
inline constexpr TextEntry Font{"Font", 30, "Font"};
inline constexpr TextEntry PenSetting{"PenSetting", 30, "Pen setting"};
inline constexpr TextEntry PenType{"PenType", 30, "Pen Type"};
inline constexpr TextEntry SolidLine{"SolidLine", 30, "Solid Line"};
inline constexpr TextEntry DashLine{"DashLine", 30, "Dash Line"};
inline constexpr TextEntry DotLine{"DotLine", 30, "Dot Line"};
inline constexpr TextEntry DashDotLine{"DashDotLine", 30, "DashDot Line1"};
inline constexpr TextEntry DashDotDotLine{"DashDotDotLine", 30, "DashDot Line2"};
inline constexpr TextEntry PenColorLine{"PenColorLine", 30, "Line Colour"};
inline constexpr TextEntry PenColor{"PenColor", 30, "Colour"};
inline constexpr TextEntry PenWidth{"PenWidth", 30, "Line Width"};
inline constexpr TextEntry LinePriview{"LinePriview", 30, "Preview"};
inline constexpr TextEntry TextSetting{"TextSetting", 30, "Text"};
inline constexpr TextEntry EnterText{"EnterText", 30, "Please enter text:"};
inline constexpr TextEntry Preview{"Preview", 30, "Preview"};

// Texts of the Video Setting dialog and of the windows this version does not have yet
// (recorder, timer, player). The language files carry them; sizes are the buffers those
// windows read into.
inline constexpr TextEntry VideoSetting{"VideoSetting", 30, "Video Setting"};
inline constexpr TextEntry VideoCaptionDevice{"VideoCaptionDevice", 30, "Video Capture Device"};
inline constexpr TextEntry DeviceName{"DeviceName", 30, "Device Name"};
inline constexpr TextEntry DeviceSetting{"DeviceSetting", 30, "Device Setting"};
inline constexpr TextEntry VideoNorm{"VideoNorm", 30, "Video Norm"};
inline constexpr TextEntry VideoProperies{"VideoProperies", 30, "Video Properies"};
inline constexpr TextEntry VideoResolution{"VideoResolution", 30, "Video Resolution"};
inline constexpr TextEntry CaptureSetting{"CaptureSetting", 30, "Capture Setting"};
inline constexpr TextEntry Compress{"Compress", 30, "Compress"};
inline constexpr TextEntry CompressTilte{"CompressTilte", 64, "Compress Format Selection"};
inline constexpr TextEntry Default{"Default", 16, "Default"};
inline constexpr TextEntry VideoSettingOk{"Ok", 30, "OK"};
// The video property names double as their keys.
inline constexpr TextEntry Brightness{"Brightness", 32, "Brightness"};
inline constexpr TextEntry Contrast{"Contrast", 32, "Contrast"};
inline constexpr TextEntry Saturation{"Saturation", 32, "Saturation"};
inline constexpr TextEntry Sharpness{"Sharpness", 32, "Sharpness"};
inline constexpr TextEntry Gamma{"Gamma", 32, "Gamma"};
inline constexpr TextEntry WhiteBalance{"WhiteBalance", 32, "WhiteBalance"};
inline constexpr TextEntry RecorderSetting{"RecorderSetting", 30, "Recorder Setting"};
inline constexpr TextEntry Frame{"Frame", 30, "Frame"};
inline constexpr TextEntry FrameRate{"FrameRate", 30, "Frame rate"};
inline constexpr TextEntry FileSize{"FileSize", 30, "File Size"};
inline constexpr TextEntry TimerLimit{"TimerLimit", 30, "Time limit"};
inline constexpr TextEntry Interval{"Interval", 30, "Interval"};
/// The time-lapse dialog's picture-count row, as against the Capture menu's 25 bytes.
inline constexpr TextEntry CaptureCount{"Capture", 30, "Capture"};
inline constexpr TextEntry StartTime{"StartTime", 30, "Start Time"};
inline constexpr TextEntry Start{"Start", 30, "Start"};
inline constexpr TextEntry Stop{"Stop", 30, "Stop"};
inline constexpr TextEntry Completed{"Completed", 30, "Completed"};
inline constexpr TextEntry Exit{"Exit", 30, "Exit"};
/// The recording counter's unit; the recorder dialog's unit label defaults to "Second".
inline constexpr TextEntry Second{"Second", 10, "Seconds"};
inline constexpr TextEntry SecondUnit{"Second", 30, "Second"};
inline constexpr TextEntry SetTimerFail{"SET_TIMER_FAIL", 64, "The time of your setting must be a future time!"};
inline constexpr TextEntry VideoPlayer{"VideoPlayer", 30, "Video Player"};
inline constexpr TextEntry TipPlay{"TipPlay", 30, "Play"};
inline constexpr TextEntry TipPause{"TipPause", 30, "Pause"};
inline constexpr TextEntry TipStop{"TipStop", 30, "Stop"};
inline constexpr TextEntry TipFirst{"TipFirst", 30, "First"};
inline constexpr TextEntry TipReward{"TipReward", 30, "Backward"};
inline constexpr TextEntry TipForward{"TipForward", 30, "Forward"};
inline constexpr TextEntry TipLast{"TipLast", 30, "Last"};

/// Every entry above, for checks over the whole table.
inline constexpr const TextEntry* all[] = {
    &File, &Setting, &Capture, &Help, &Open, &Save, &SaveAll, &SaveAllGallery, &Delete, &DeleteGallery,
    &DeleteAll, &EMail, &Resolution640, &Resolution1280, &Device, &Cross, &Scale, &Circle, &Time, &ScaleBar,
    &TakePicture, &TakeVideo, &TakeTimeLapsedPictures, &ViewMorrowAbout,
    &CrossOverlay, &ScaleOverlay, &CircleOverlay, &TimeOverlay, &ScaleBarOverlay,
    &EscRestore, &Rate, &ConnectMsg, &BrowseToCamera, &BrowseToTimer, &TipPreview, &TipCamera, &TipVideo,
    &TipTimer, &TipSetting, &TipSave, &TipEMail,
    &CameraNoPermission, &ClipCannotPlay, &ExportMeasurements, &ExportFail, &MeasureFileRefused,
    &KeepCalibration, &ApplyKeptCalibration, &KeptCalibrations, &KeptCalibrationsTitle, &KeptName,
    &KeptMagnification, &KeptPictureSize, &KeptScale, &KeptDistance, &KeptDate, &KeptRename, &KeptDelete,
    &KeptClose, &KeptUnreadable, &KeptChangeFail,
    &AboutViewMorrow1, &AboutVersion, &AboutCopyright, &AboutViewMorrow2, &AboutDescription, &AboutOk,
    &SelectFile, &SureDelete, &SureDeleteAll, &StartOutlook, &SendCamplete, &OpenFileFail,
    &PhotoMeasure, &EnterRate, &SureOpen, &SureClose, &SaveSuccessfull, &SaveFail, &TipOpen, &TipSaveStrip,
    &TipLine, &TipCircle, &TipRectangle, &TipText, &TipDelete, &TipResume, &TipCalibrationStrip,
    &Straightline, &Continuousline, &Angle, &Rectangle, &RectangleDrawMenu, &Ploygon, &RadialCircle,
    &Diametercircle, &Threepointcircle, &ThreepointcircleDrawMenu, &Fourpointangle,
    &DrawLine, &DrawContinueline, &DrawAngle, &DrawRectangle, &DrawRadialCircle, &DrawDiametercircle,
    &DrawThreePointCircle, &MeasureLine, &MeasureContinueline, &MeasureRectangle, &MeasurePloygon,
    &MeasureRedialCircle, &MeasureDiameterCircle, &MeasureThreePointCircle, &MeasureAngle,
    &MeasureFourPointCircle,
    &TipCalibration, &EnterActualDistance, &EnterDigital, &OK, &Cancel, &Font, &PenSetting, &PenType,
    &SolidLine, &DashLine, &DotLine, &DashDotLine, &DashDotDotLine, &PenColorLine, &PenColor, &PenWidth,
    &LinePriview, &TextSetting, &EnterText, &Preview,
    &VideoSetting, &VideoCaptionDevice, &DeviceName, &DeviceSetting, &VideoNorm, &VideoProperies,
    &VideoResolution, &CaptureSetting, &Compress, &CompressTilte, &Default, &VideoSettingOk, &Brightness, &Contrast,
    &Saturation, &Sharpness, &Gamma, &WhiteBalance, &RecorderSetting, &Frame, &FrameRate, &FileSize,
    &TimerLimit, &Interval, &CaptureCount, &StartTime, &Start, &Stop, &Completed, &Exit, &Second, &SecondUnit,
    &SetTimerFail,
    &VideoPlayer, &TipPlay, &TipPause, &TipStop, &TipFirst, &TipReward, &TipForward, &TipLast,
};

}  // namespace Text
