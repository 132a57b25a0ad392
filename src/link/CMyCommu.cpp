#include "link/CMyCommu.h"

#include "app/SharedFlags.h"

namespace qv {

CMyCommu::CMyCommu(const SharedFlags& flags, const MachineParamsStore& params, LinkState& state, Notifier& notifier,
                   UsbBackend& usbBackend)
    : flags_(flags), usb_(state, usbBackend), eth_(state, params, flags, notifier)
{
}

bool CMyCommu::ViaNet() const
{
    return flags_.connectViaNet != 0;
}

CLinkChannel& CMyCommu::Channel()
{
    if (ViaNet())
        return eth_;
    return usb_;
}

} // namespace qv
