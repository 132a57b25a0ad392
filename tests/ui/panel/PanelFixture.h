#pragma once

#include "WorkflowFixtures.h"

#include <QWidget>

#include <optional>
#include <vector>

namespace qv::test {

// An output centre whose link the test sets by hand, as the link monitor would.
struct ScriptedCentre : CentreFixture {
    using CentreFixture::CentreFixture;

    void Machine(bool connected, uint8_t status, bool jobRunning = false)
    {
        c->link.Connected = connected;
        c->link.status = MachineStatus{status, 0};
        c->link.jobThreadExists = jobRunning;
    }
    // Everything queued so far, oldest first; the queue is empty afterwards.
    std::vector<int> Queued()
    {
        std::vector<int> codes;
        while (const std::optional<uint8_t> code = c->queue.Take())
            codes.push_back(*code);
        return codes;
    }
};

template <typename T>
T* Find(const QWidget& parent, const QString& name)
{
    T* child = parent.findChild<T*>(name);
    EXPECT_NE(child, nullptr) << name.toStdString();
    return child;
}

} // namespace qv::test
