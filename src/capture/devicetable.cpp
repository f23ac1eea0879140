#include "capture/devicetable.h"

#include <algorithm>
#include <cctype>

namespace {

bool equalIgnoringCase(char a, char b)
{
    return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
}

}  // namespace

const std::vector<std::string>& DeviceTable::microscopeIdentifiers()
{
    static const std::vector<std::string> identifiers{"Vid_0a5d&Pid_7f21&MI_00"};
    return identifiers;
}

int DeviceTable::match(std::string_view displayName)
{
    const std::vector<std::string>& identifiers = microscopeIdentifiers();
    for (std::size_t i = 0; i < identifiers.size(); ++i) {
        const auto found = std::search(displayName.begin(), displayName.end(), identifiers[i].begin(),
                                       identifiers[i].end(), equalIgnoringCase);
        if (found != displayName.end()) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

bool DeviceTable::scanAndChoose(const std::vector<ListedDevice>& found)
{
    if (found.empty()) {
        return false;
    }
    std::vector<DeviceRecord> scratch;
    for (const ListedDevice& device : found) {
        if (scratch.size() == kCapacity) {
            break;
        }
        scratch.push_back({device, match(device.device.displayName), false});
    }

    const DeviceRecord* old = current();
    int carried = -1;
    if (old != nullptr) {
        for (std::size_t i = 0; i < scratch.size(); ++i) {
            if (scratch[i].listed.list == old->listed.list
                && scratch[i].listed.device.identity == old->listed.device.identity) {
                scratch[i] = *old;
                carried = static_cast<int>(i);
                break;
            }
        }
    }
    m_records = std::move(scratch);
    m_current = carried;
    if (carried >= 0) {
        return true;
    }

    int best = -1;
    for (std::size_t i = 0; i < m_records.size(); ++i) {
        const int index = m_records[i].matchIndex;
        if (index >= 0 && (best < 0 || index < m_records[best].matchIndex)) {
            best = static_cast<int>(i);
        }
    }
    if (best < 0) {
        m_selectedIdentifier.clear();
        return false;
    }
    select(best);
    return true;
}

bool DeviceTable::select(int index)
{
    if (index < 0 || index >= static_cast<int>(m_records.size()) || index == m_current) {
        return false;
    }
    if (m_current >= 0) {
        m_records[m_current].selected = false;
    }
    m_current = index;
    DeviceRecord& record = m_records[index];
    record.selected = true;
    m_selectedIdentifier = record.matchIndex >= 0 ? microscopeIdentifiers()[record.matchIndex] : std::string();
    return true;
}

const DeviceRecord* DeviceTable::current() const
{
    return m_current >= 0 ? &m_records[m_current] : nullptr;
}
