// ConvertiPercorsoRete over arbitrary directories and "Percorso Nel Server"
// values: the output path, the give-up result, the named-share flag and the
// warning must be those that the directory's pieces call for, and the flag is
// only ever set, never cleared.
//
// Input: one byte (bit 0: the named-share flag on entry), then the directory
// and the "Percorso Nel Server" value, UTF-8, separated by a zero byte.

#include "FuzzSupport.h"
#include "NetworkPathModel.h"

#include "archive/ArchiveLocator.h"

using namespace tg;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::Input input(data, size);
    const bool namedShareBefore = (input.byte() & 1) != 0;
    const QString directory = QString::fromUtf8(input.piece());
    const QString percorsoNelServer = QString::fromUtf8(input.rest());

    const fuzz::NetworkPath expected = fuzz::expectedNetworkPath(directory, percorsoNelServer);
    const QString case_ = QStringLiteral("directory \"%1\", Percorso Nel Server \"%2\"").arg(directory, percorsoNelServer);

    fuzz::RecordingPrompter prompter;
    const QString untouched = QStringLiteral("<path not written>");
    QString path = untouched;
    bool namedShare = namedShareBefore;
    const bool giveUp = ConvertiPercorsoRete(directory, percorsoNelServer, path, namedShare);

    FUZZ_CHECK(giveUp == expected.giveUp, case_);
    FUZZ_CHECK(path == expected.path, case_ + QStringLiteral(": path \"%1\", expected \"%2\"").arg(path, expected.path));
    FUZZ_CHECK(namedShare == (namedShareBefore || expected.namedShare), case_);
    if (expected.message.isEmpty()) {
        FUZZ_CHECK(prompter.messages.isEmpty(), case_ + QStringLiteral(": message \"%1\"").arg(prompter.texts().join(u'|')));
    } else {
        FUZZ_CHECK(prompter.messages.size() == 1, case_);
        FUZZ_CHECK(prompter.messages.first().first == MessageKind::Plain, case_);
        FUZZ_CHECK(prompter.messages.first().second == expected.message, case_);
    }
    // Giving up happens only with the warning, and only for a named share.
    FUZZ_CHECK(!giveUp || (namedShare && prompter.messages.size() == 1), case_);
    return 0;
}
