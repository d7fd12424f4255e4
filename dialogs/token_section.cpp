#include "dialogs/token_section.h"

namespace orvika2 {

int UpdateSectionFromSerial(TokenPorts ports, std::wstring& section) {
    std::wstring serial = ReadSerialString(ports);
    if (serial.empty()) return IDS_DEVICE_READ_ERROR;
    section = std::move(serial);
    return 0;
}

}  // namespace orvika2
