#include "SimTcpServer.h"
#include "SimMachine.h"

#include "support/Bytes.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace qv::sim {
namespace {

using test::Bytes;

// A bare TCP client that sends a piece and waits for the answer, as the host does.
class Client {
public:
    explicit Client(uint16_t port)
    {
        fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_port = htons(port);
        addr.sin_addr.s_addr = htonl(0x7F000001);
        connected_ = ::connect(fd_, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) == 0;
    }
    ~Client() { ::close(fd_); }
    Client(const Client&) = delete;
    Client& operator=(const Client&) = delete;

    bool Connected() const { return connected_; }

    // The answer to `bytes`; empty when none came within 10 s, or the connection closed.
    std::vector<uint8_t> Ask(const std::vector<uint8_t>& bytes)
    {
        ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        pollfd p{fd_, POLLIN, 0};
        if (::poll(&p, 1, 10000) <= 0)
            return {};
        uint8_t reply[64];
        const ssize_t n = ::recv(fd_, reply, sizeof reply, 0);
        return n > 0 ? std::vector<uint8_t>(reply, reply + n) : std::vector<uint8_t>{};
    }

private:
    int fd_ = -1;
    bool connected_ = false;
};

SimOptions Quick()
{
    SimOptions o;
    o.initMs = 0;
    o.seekMs = 0;
    o.segmentMs = 0;
    return o;
}

TEST(SimTcpServer, JobDataArrivesInChunksUntilTheSegmentTable)
{
    ManualClock clock;
    SimMachine machine(clock, Quick());
    SimTcpServer server(machine, {127, 0, 0, 1}, 0);
    std::string error;
    ASSERT_TRUE(server.Start(error)) << error;
    Client host(server.Port());
    ASSERT_TRUE(host.Connected());

    // One blank "HP45" band of R = 50 rows (80 rows of 22 words = 1760 words), sent as a 400-byte chunk of
    // which the first 4 bytes count.
    ASSERT_EQ(host.Ask(Bytes{12, 53}.I32(0).I32(50).U16(1).vec()), (Bytes{3, 12, 0}).vec());
    EXPECT_EQ(host.Ask(Bytes{0, 0}.U16(1760).Repeat(0, 396).vec()), (Bytes{3, 12, 0}).vec());
    EXPECT_EQ(host.Ask(Bytes{9, 54, 0, 0}.Add({4, 0, 0, 0, 'P'}).vec()), (Bytes{3, 12, 0}).vec());
    EXPECT_EQ(host.Ask(Bytes{8, 55, 0, 0, 1, 0, 0, 0}.vec()), (Bytes{3, 12, 18}).vec());
    EXPECT_EQ(host.Ask(Bytes{3, 40, 0}.vec()), (Bytes{1, 0, 4, 0}).vec());

    const auto jobs = machine.Jobs();
    ASSERT_EQ(jobs.size(), 1u);
    EXPECT_TRUE(jobs[0]->Ok()) << jobs[0]->errors[0];
    EXPECT_TRUE(jobs[0]->bulkPadded);
    EXPECT_EQ(jobs[0]->bands.at(0).rows, 80);
}

TEST(SimTcpServer, CloseFaultDropsTheConnection)
{
    ManualClock clock;
    SimMachine machine(clock, Quick());
    machine.AddFault(*SimFault::Parse("close@58x1"));
    SimTcpServer server(machine, {127, 0, 0, 1}, 0);
    std::string error;
    ASSERT_TRUE(server.Start(error)) << error;
    Client first(server.Port());
    EXPECT_TRUE(first.Ask(Bytes{2, 58}.vec()).empty());
    Client second(server.Port());
    EXPECT_EQ(second.Ask(Bytes{2, 58}.vec()), (Bytes{3, 4, 0}).vec());
    EXPECT_EQ(server.ConnectionsAccepted(), 2);
}

} // namespace
} // namespace qv::sim
