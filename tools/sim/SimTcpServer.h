#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <string>
#include <thread>

namespace qv::sim {

class SimMachine;

// The virtual machine on TCP: listens on one IPv4 address and port (0: any free port) and serves every
// connection with the machine. A connection that has just started a job carries the job's data in 400-byte
// chunks until its first frame after the data (the segment table or the header), which is told from a chunk
// by its length byte and the pause the host makes waiting for the answer.
class SimTcpServer {
public:
    SimTcpServer(SimMachine& machine, std::array<uint8_t, 4> address, uint16_t port);
    ~SimTcpServer();
    SimTcpServer(const SimTcpServer&) = delete;
    SimTcpServer& operator=(const SimTcpServer&) = delete;

    // Binds, listens and starts serving; false with the reason in `error`.
    bool Start(std::string& error);
    void Stop();
    // The port actually listened on.
    uint16_t Port() const { return port_; }
    int ConnectionsAccepted() const { return accepted_; }

private:
    void Serve();

    SimMachine& machine_;
    std::array<uint8_t, 4> address_;
    uint16_t port_;
    int listenFd_ = -1;
    int wakeFds_[2] = {-1, -1};
    std::atomic<int> accepted_{0};
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};

} // namespace qv::sim
