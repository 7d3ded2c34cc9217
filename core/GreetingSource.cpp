#include "core/GreetingSource.h"

#include "core/GreetingRecording.h"
#include "core/Recordset.h"
#include "core/RunLog.h"

#include <QFileInfo>

namespace {

namespace Source {
constexpr int System = 453;
constexpr int Recording = 454;
constexpr int Blank = 455;
}

void playWhat(Recordset& rule, qint16 value, RunLog& log, const QString& line)
{
    rule.setValue(QStringLiteral("PlayWhat"), QVariant::fromValue(value));
    log.WriteLogLine(line);
}

void recording(Recordset& rule, const QString& path, const GreetingSourceObject& object)
{
    if (path.isEmpty()) {
        object.log.WriteLogLine(QStringLiteral("(error) path to greeting WAV file to use is empty"));
        return;
    }
    if (!QFileInfo(path).isFile()) {
        object.log.WriteLogLine(QStringLiteral("(error) path for WAV file to use for greeting source not found:") + path);
        return;
    }
    const GreetingRecording copy = copyGreetingRecording(
        path, object.rootPath, {object.alias, rule.value(QStringLiteral("Alias")).toString()}, object.actions, object.placeFailed);
    rule.setValue(QStringLiteral("StreamPath"), copy.streamPath);
    playWhat(rule, 1, object.log,
             QStringLiteral("    Greeting source set to recording using WAV file=") + path + QStringLiteral(".  Target path=")
                 + copy.targetPath);
}

}  // namespace

void applyGreetingSource(Recordset& rule, const GreetingSourceChoice& choice, const GreetingSourceObject& object,
                         const StringLookup& strings)
{
    if (choice.source == strings(Source::System))
        playWhat(rule, 0, object.log, QStringLiteral("    Greeting source set to system"));
    else if (choice.source == strings(Source::Blank))
        playWhat(rule, 2, object.log, QStringLiteral("    Greeting source set to blank"));
    else if (choice.source == strings(Source::Recording))
        recording(rule, choice.path, object);
}
