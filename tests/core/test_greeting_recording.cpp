// The copy of a greeting recording: its name, the wait while a name is taken, its folder. The
// rename at commit and the removal at rollback are checked on the subscriber engine's runs.
#include "core/GreetingRecording.h"
#include "core/RunFrame.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(GreetingRecording, ATakenNameIsBuiltAgainASecondLaterInStreamFilesUnderTheRoot)
{
    QTemporaryDir root;
    ASSERT_TRUE(QDir(root.path()).mkpath("Stream Files"));
    for (const char* name : {"source.wav", "Stream Files/ab_Busy_CustomGreeting_100.WAV"}) {
        QFile file(root.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    for (const QString& rootPath : {root.path(), root.path() + "/", root.path() + "//"}) {
        qint64 now = 100;
        int pauses = 0;
        ObjectActions actions;
        const GreetingRecording copy = copyGreetingRecording(root.filePath("source.wav"), rootPath, {"a/b", "Busy"}, actions,
                                                             {}, {[&] { return now; }, [&] { ++now, ++pauses; }});
        EXPECT_EQ(copy.streamPath, "ab_Busy_CustomGreeting_101.WAV");
        EXPECT_EQ(copy.targetPath, root.path() + "/Stream Files/ab_Busy_CustomGreeting_101.WAV");
        EXPECT_EQ(pauses, 1);
        EXPECT_FALSE(QFile::exists(copy.targetPath));   // placed at commit
    }
}

}  // namespace
