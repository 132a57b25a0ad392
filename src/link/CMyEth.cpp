#include "link/CMyEth.h"

#include "app/MachineParamsStore.h"
#include "app/MessageCatalog.h"
#include "app/Notifier.h"
#include "app/SharedFlags.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstring>

namespace qv {

namespace {

// Waits until `fd` is ready for `events`; false on time-out or error.
bool WaitFor(int fd, short events, int timeoutMs)
{
    pollfd p{fd, events, 0};
    for (;;) {
        const int r = ::poll(&p, 1, timeoutMs);
        if (r > 0)
            return true;
        if (r == 0 || errno != EINTR)
            return false;
    }
}

// The pause between bulk chunks is far below the scheduler's sleep granularity, so it is spun.
void BusyWait(std::chrono::microseconds span)
{
    const auto until = std::chrono::steady_clock::now() + span;
    while (std::chrono::steady_clock::now() < until) {
    }
}

int SendAll(int fd, std::span<const uint8_t> bytes)
{
    // One send, as the machine expects one piece per frame or chunk; MSG_NOSIGNAL turns a closed peer into an
    // error instead of a signal that would end the process.
    const ssize_t n = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    return n < 0 ? -1 : static_cast<int>(n);
}

} // namespace

CMyEth::CMyEth(LinkState& state, const MachineParamsStore& params, const SharedFlags& flags, Notifier& notifier)
    : CLinkChannel(state), params_(params), flags_(flags), notifier_(notifier)
{
}

CMyEth::~CMyEth()
{
    Disconnect();
}

int CMyEth::Connect()
{
    if (socket_ >= 0)
        return 0;
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        notifier_.Show(MessageText(Msg::WinsockCreateError, flags_.language), "", MsgButtons::Ok, MsgIcon::Error);
        return -1;
    }
    const timeval sendTimeout{kEthSendTimeoutMs / 1000, (kEthSendTimeoutMs % 1000) * 1000};
    ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &sendTimeout, sizeof sendTimeout);
    const int one = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);

    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(port_.load());
    const std::array<uint8_t, 4> ip = params_.Address();
    std::memcpy(&addr.sin_addr.s_addr, ip.data(), ip.size()); // already in network order

    // A bounded connect: an address where nothing answers would otherwise hold the thread for minutes.
    const int flags = ::fcntl(fd, F_GETFL, 0);
    ::fcntl(fd, F_SETFL, flags | O_NONBLOCK);
    int r = ::connect(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr);
    if (r != 0 && errno == EINPROGRESS && WaitFor(fd, POLLOUT, kEthReplyTimeoutMs)) {
        int error = 0;
        socklen_t len = sizeof error;
        ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &len);
        r = error == 0 ? 0 : -1;
    }
    if (r != 0) {
        ::close(fd);
        return -1;
    }
    ::fcntl(fd, F_SETFL, flags);
    socket_ = fd;
    return 0;
}

void CMyEth::Disconnect()
{
    if (socket_ < 0)
        return;
    ::close(socket_);
    socket_ = -1;
}

int CMyEth::Begin()
{
    return Connect();
}

int CMyEth::SendFrame(std::span<const uint8_t> frame)
{
    return SendAll(socket_, frame);
}

int CMyEth::ReceiveReply(std::span<uint8_t, kReplyArea> reply)
{
    if (!WaitFor(socket_, POLLIN, kEthReplyTimeoutMs))
        return kSilent;
    const ssize_t n = ::recv(socket_, reply.data(), reply.size(), 0);
    return n < 0 ? -1 : static_cast<int>(n);
}

void CMyEth::End(bool broken)
{
    // A broken exchange may leave a late reply in the stream that would be taken for the next one, so that
    // connection is not kept even during a job.
    if (broken || !state().jobThreadExists)
        Disconnect();
}

BulkResult CMyEth::Bulk(std::span<const uint8_t> data)
{
    BulkResult result = Connect() == 0 ? BulkResult::Sent : BulkResult::Failed;
    bool broken = result == BulkResult::Failed;
    for (std::size_t offset = 0; result == BulkResult::Sent && offset < data.size(); offset += kEthBulkChunk) {
        // The last chunk is padded with zeros to its full 400 bytes.
        std::array<uint8_t, kEthBulkChunk> chunk{};
        const std::size_t take = std::min(kEthBulkChunk, data.size() - offset);
        std::copy_n(data.begin() + static_cast<std::ptrdiff_t>(offset), take, chunk.begin());
        if (SendAll(socket_, chunk) != static_cast<int>(kEthBulkChunk)) {
            result = BulkResult::Failed;
            broken = true;
            break;
        }
        std::array<uint8_t, kReplyArea> reply{};
        const int received = ReceiveReply(reply);
        if (received == kSilent || received <= 0) {
            result = BulkResult::Failed;
            broken = true;
            break;
        }
        const Ack ack = ParseAck(reply, received);
        if (ack.fault != AckFault::None) {
            result = BulkResult::Failed;
            break;
        }
        state().status = ack.status;
        if (ack.status.type == kStatusReady) {
            result = BulkResult::Abandoned;
            break;
        }
        BusyWait(std::chrono::microseconds(10));
    }
    End(broken);
    return result;
}

} // namespace qv
