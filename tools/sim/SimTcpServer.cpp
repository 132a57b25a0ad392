#include "SimTcpServer.h"

#include "SimMachine.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <functional>
#include <vector>

namespace qv::sim {

namespace {

constexpr int kTickMs = 20;
// A short piece that looks like a whole frame is taken as one after this pause.
constexpr int64_t kFrameQuietMs = 20;

struct Connection {
    int fd = -1;
    std::vector<uint8_t> buffer;
    bool jobData = false; // a job was started on this connection and its data may follow
    int64_t lastData = 0;
};

// Sends the answer; false when the connection is to go.
bool Answer(Connection& c, const SimReply& reply)
{
    if (reply.close)
        return false;
    if (!reply.bytes.empty())
        ::send(c.fd, reply.bytes.data(), reply.bytes.size(), MSG_NOSIGNAL);
    return true;
}

// Handles what the connection's buffer holds; false when the connection is to be closed.
bool Drain(SimMachine& machine, Connection& c, int64_t now)
{
    for (;;) {
        if (c.jobData && !machine.ExpectsJobData())
            c.jobData = false;
        if (c.jobData) {
            const bool frameLike =
                c.buffer.size() >= 2 && c.buffer.size() < kBulkChunk && c.buffer[0] == c.buffer.size();
            if (c.buffer.size() >= kBulkChunk) {
                const SimReply reply = machine.HandleBulkChunk(std::span(c.buffer.data(), kBulkChunk));
                c.buffer.erase(c.buffer.begin(), c.buffer.begin() + kBulkChunk);
                if (!Answer(c, reply))
                    return false;
                continue;
            }
            if (!frameLike || now - c.lastData < kFrameQuietMs)
                return true;
            c.jobData = false;
        }
        if (c.buffer.empty() || c.buffer.size() < c.buffer[0])
            return true;
        const std::size_t size = c.buffer[0] < 2 ? 1 : c.buffer[0];
        const std::vector<uint8_t> frame(c.buffer.begin(), c.buffer.begin() + static_cast<std::ptrdiff_t>(size));
        c.buffer.erase(c.buffer.begin(), c.buffer.begin() + static_cast<std::ptrdiff_t>(size));
        const SimReply reply = machine.HandleFrame(frame);
        if (size >= 2 && (frame[1] == 52 || frame[1] == 53) && machine.ExpectsJobData())
            c.jobData = true;
        if (!Answer(c, reply))
            return false;
    }
}

} // namespace

SimTcpServer::SimTcpServer(SimMachine& machine, std::array<uint8_t, 4> address, uint16_t port)
    : machine_(machine), address_(address), port_(port)
{
}

SimTcpServer::~SimTcpServer()
{
    Stop();
}

bool SimTcpServer::Start(std::string& error)
{
    listenFd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (listenFd_ < 0) {
        error = std::string("socket: ") + std::strerror(errno);
        return false;
    }
    const int one = 1;
    ::setsockopt(listenFd_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(port_);
    std::memcpy(&addr.sin_addr.s_addr, address_.data(), 4);
    if (::bind(listenFd_, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) != 0 || ::listen(listenFd_, 8) != 0 ||
        ::pipe2(wakeFds_, O_CLOEXEC) != 0) {
        error = std::string("cannot listen: ") + std::strerror(errno);
        ::close(listenFd_);
        listenFd_ = -1;
        return false;
    }
    socklen_t len = sizeof addr;
    ::getsockname(listenFd_, reinterpret_cast<sockaddr*>(&addr), &len);
    port_ = ntohs(addr.sin_port);
    thread_ = std::thread([this] { Serve(); });
    return true;
}

void SimTcpServer::Stop()
{
    if (thread_.joinable()) {
        stopping_ = true;
        const char b = 1;
        [[maybe_unused]] const ssize_t n = ::write(wakeFds_[1], &b, 1);
        thread_.join();
    }
    for (int& fd : {std::ref(listenFd_), std::ref(wakeFds_[0]), std::ref(wakeFds_[1])}) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
}

void SimTcpServer::Serve()
{
    std::vector<Connection> connections;
    while (!stopping_) {
        std::vector<pollfd> fds{{listenFd_, POLLIN, 0}, {wakeFds_[0], POLLIN, 0}};
        for (const Connection& c : connections)
            fds.push_back({c.fd, POLLIN, 0});
        ::poll(fds.data(), fds.size(), kTickMs);
        if (stopping_)
            break;
        const int64_t now = SteadyClock{}.NowMs();
        if (fds[0].revents & POLLIN) {
            const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
            if (fd >= 0) {
                const int one = 1;
                ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
                connections.push_back({fd, {}, false, now});
                ++accepted_;
            }
        }
        std::vector<Connection> kept;
        for (std::size_t i = 0; i < connections.size(); ++i) {
            Connection& c = connections[i];
            bool open = true;
            if (i + 2 < fds.size() && (fds[i + 2].revents & (POLLIN | POLLHUP | POLLERR))) {
                uint8_t data[4096];
                const ssize_t n = ::recv(c.fd, data, sizeof data, 0);
                if (n <= 0) {
                    open = false;
                } else {
                    c.buffer.insert(c.buffer.end(), data, data + n);
                    c.lastData = now;
                }
            }
            if (open)
                open = Drain(machine_, c, now);
            if (open)
                kept.push_back(std::move(c));
            else
                ::close(c.fd);
        }
        connections = std::move(kept);
        machine_.Tick();
    }
    for (const Connection& c : connections)
        ::close(c.fd);
}

} // namespace qv::sim
