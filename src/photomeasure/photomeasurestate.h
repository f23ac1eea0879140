#pragma once

/// Photo-measure values that outlive one opening of the window. Made once in main() beside
/// the MeasureSession and passed by reference to every photo-measure window.
struct PhotoMeasureState {
    /// While set, Open and maximising or restoring the window offer to save before they throw
    /// the shapes away. Answering Yes clears it; every rebuild of the view sets it again.
    bool askBeforeDiscarding = true;
};
