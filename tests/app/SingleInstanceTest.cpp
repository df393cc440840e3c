#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QThread>
#include <atomic>
#include <memory>

#include "app/SingleInstance.h"

namespace kartovex {
namespace {

// Claims `name` from a thread of its own, as a second program would while the first one's
// thread goes on serving.
bool claimElsewhere(const QString& name) {
    std::atomic<bool> claimed{true};
    std::unique_ptr<QThread> thread(
        QThread::create([&] { claimed = SingleInstance(name).claim(); }));
    thread->start();
    while (!thread->wait(10)) QCoreApplication::processEvents();
    return claimed;
}

TEST(SingleInstance, ALaterOneBringsTheFirstToTheFrontAndEnds) {
    QTemporaryDir folder;
    const QString name = folder.filePath("instance");
    {
        SingleInstance first(name);
        ASSERT_TRUE(first.claim());
        const auto others =
            QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther;
        EXPECT_FALSE(QFileInfo(name).permissions() & others) << "other users may ask";
        QSignalSpy front(&first, &SingleInstance::frontRequested);
        EXPECT_FALSE(claimElsewhere(name));
        EXPECT_TRUE(front.count() == 1 || front.wait(5000));
        EXPECT_TRUE(claimElsewhere(folder.filePath("other"))) << "another name is another one";
    }
    EXPECT_TRUE(claimElsewhere(name)) << "the name is free once the first has ended";
}

}  // namespace
}  // namespace kartovex
