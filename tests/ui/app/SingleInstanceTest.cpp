#include "ui/app/SingleInstance.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace qv::ui {
namespace {

TEST(SingleInstance, ALockThatCannotBeMadeIsNotAnotherProgram)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    SingleInstance missing(dir.filePath(QStringLiteral("no/such/dir")));
    EXPECT_EQ(missing.Claim(), SingleInstance::Start::NoLock);
    SingleInstance first(dir.path());
    EXPECT_EQ(first.Claim(), SingleInstance::Start::First);
}

} // namespace
} // namespace qv::ui
