#include "workflow/HeadlessOwner.h"

#include "workflow/OutputCentre.h"

namespace qv {

HeadlessOwner::HeadlessOwner() : thread_([this] { loop_.Run(); }) {}

HeadlessOwner::~HeadlessOwner()
{
    loop_.Quit();
    if (thread_.joinable())
        thread_.join();
}

void HeadlessOwner::Close(OutputCentre& centre)
{
    // Closing lets every sender go, this one too, while the close still runs: the join waits for it.
    loop_.Call([&centre] { centre.Close(); });
    loop_.Quit();
    if (thread_.joinable())
        thread_.join();
}

} // namespace qv
