#pragma once

class CalibrationStore;
class CaptureEngine;
class LocalText;
class MailClient;
class MeasureSession;
class MediaPaths;
class Prompter;
class SoundPlayer;
struct PhotoMeasureState;

/// The process-wide objects the main window works with. main() makes each of them once; all
/// of them outlive the window.
struct MainContext {
    MeasureSession& session;
    PhotoMeasureState& photoMeasure;
    const LocalText& text;
    Prompter& prompter;
    MediaPaths& paths;
    CaptureEngine& engine;
    MailClient& mailClient;
    SoundPlayer& sounds;
    CalibrationStore& calibrations;
};
