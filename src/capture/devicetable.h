#pragma once

#include "platform/videodevices.h"

#include <string>
#include <string_view>
#include <vector>

/// A device found by a scan, with the device list that found it.
struct ListedDevice {
    VideoDevice device;
    int list = 0;  ///< which of the engine's device lists
};

/// One row of the device table.
struct DeviceRecord {
    ListedDevice listed;
    int matchIndex = -1;  ///< position of the microscope identifier in the display name; -1 for none
    bool selected = false;
};

/// The video capture devices of the last scan and the microscope chosen among them. Only a
/// device whose display name carries a microscope identifier is ever chosen; a chosen device
/// stays chosen across scans while it is listed.
class DeviceTable {
public:
    static constexpr std::size_t kCapacity = 10;
    /// The USB identities of the supported microscope, preferred first.
    static const std::vector<std::string>& microscopeIdentifiers();

    /// Index of the first identifier that occurs in DISPLAYNAME, compared ignoring case;
    /// -1 when none does.
    static int match(std::string_view displayName);

    /// Takes the devices of a scan (the first ten) and makes sure a microscope is chosen:
    /// the current one when it is still listed, else the best match. False when the scan
    /// found nothing (the table stays as it was) or no microscope is listed.
    bool scanAndChoose(const std::vector<ListedDevice>& found);
    /// Makes record INDEX the chosen device. False when there is no such record or it is
    /// already the chosen one.
    bool select(int index);

    const std::vector<DeviceRecord>& records() const { return m_records; }
    /// The chosen record, or nullptr.
    const DeviceRecord* current() const;
    int currentIndex() const { return m_current; }
    /// The identifier of the chosen microscope; empty when none is chosen or it was found
    /// unplugged.
    const std::string& selectedIdentifier() const { return m_selectedIdentifier; }
    void clearSelectedIdentifier() { m_selectedIdentifier.clear(); }

private:
    std::vector<DeviceRecord> m_records;
    int m_current = -1;
    std::string m_selectedIdentifier;
};
