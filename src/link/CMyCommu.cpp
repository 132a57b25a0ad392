#include "link/CMyCommu.h"

#include "app/CSettings.h"

namespace qv {

CMyCommu::CMyCommu(const CSettings& settings, const MachineParams& params, LinkState& state, Notifier& notifier,
                   UsbBackend& usbBackend)
    : settings_(settings), usb_(state, usbBackend), eth_(state, params, settings, notifier)
{
}

bool CMyCommu::ViaNet() const
{
    return settings_.ConnectViaNet != 0;
}

CLinkChannel& CMyCommu::Channel()
{
    if (ViaNet())
        return eth_;
    return usb_;
}

} // namespace qv
