#include "backup/EepromCopy.h"

#include <algorithm>

#include "backup/BackupFile.h"
#include "console/EepromMode.h"

namespace kv {
namespace {

const QString MainPrompt = QStringLiteral(">");

// Counts the progress steps of one operation and reports each value.
class CopyProgress {
public:
    explicit CopyProgress(const ProgressFn& report) : report_(report) {}
    void Set(int value) {
        value_ = value;
        ReportProgress(report_, value_);
    }
    void Step() { Set(value_ + 1); }

private:
    const ProgressFn& report_;
    int value_ = 0;
};

CopyOutcome Outcome(CopyResult result, const QString& detail = {}) { return {result, detail}; }

// Brings the console to its main prompt, checks the controller and enters EEPROM mode;
// from then on the block transfers use the short time-out.
CopyOutcome EnterEeprom(ConsoleLink& link, CopyProgress& progress) {
    progress.Set(1);
    if (!RecoverConsole(link)) return Outcome(CopyResult::Timeout);
    if (!IsCopyableController(link.ReplyText)) return Outcome(CopyResult::UnknownController);
    link.ControllerPrompt = IdentifyController(link.ReplyText) + u'>';
    progress.Step();
    if (!EnterEepromMode(link)) return Outcome(CopyResult::Timeout);
    link.ReplyTimeoutMs = BlockTransferTimeoutMs;
    return Outcome(CopyResult::Ok);
}

// The copied part of a block, from address 0: the start of blocks 0 and 1, all of blocks
// 8..11.
EepromRun BackupRun(int block, const EepromBlock& bytes) {
    return {block, 0, {bytes.begin(), bytes.begin() + BackupBytesOfBlock(block)}, {}};
}

// The console only prints a byte after the value for the previous address was sent, so
// each read sends back the byte just read: the EEPROM keeps its contents.
bool ReadBlock(RunEditor& editor, int block, EepromBlock& bytes, CopyProgress& progress) {
    EepromRun run = BackupRun(block, bytes);
    if (!editor.Read(run, RunReading::SendingEachByteBack, [&progress] { progress.Step(); }))
        return false;
    std::ranges::copy(run.Bytes, bytes.begin());
    return true;
}

// A finished copy, with the Ethernet settings the gateway holds: the backup does not carry
// them, and the user must know what the gateway answers on. They are read at the main prompt
// after the copy, at the console's own time-out.
CopyOutcome Finished(ConsoleLink& link) {
    ReplyTimeoutScope timeouts(link, HandshakeTimeoutMs);
    CopyOutcome outcome;
    EthernetParams ethernet;
    if (ReadEthernetSettings(link, ethernet)) outcome.Ethernet = ethernet;
    return outcome;
}

CopyOutcome ReadBackup(const QString& path, EepromImage& image, QStringList& lacks) {
    BackupReadResult file = BackupFile::Read(path);
    switch (file.Status) {
        case BackupReadStatus::Ok:
            image = file.Image;
            lacks = file.Lacks;
            return Outcome(CopyResult::Ok);
        case BackupReadStatus::CannotRead:
            return Outcome(CopyResult::FileError, file.Detail);
        case BackupReadStatus::NotText:
        case BackupReadStatus::WrongFileType:
            return Outcome(CopyResult::FileTypeError, file.Detail);
    }
    return Outcome(CopyResult::FileError, file.Detail);
}

}  // namespace

bool IsCopyableController(const QString& reply) {
    const auto model = ControllerModelNamed(IdentifyController(reply));
    return model && model->EepromCopyAccepted;
}

CopyOutcome ImportToIni(ConsoleLink& link, const QString& path, const ProgressFn& progress) {
    BackupFile file(path);
    if (!file.Open()) return Outcome(CopyResult::FileError, file.ErrorText());

    ReplyTimeoutScope timeouts(link, HandshakeTimeoutMs);
    CopyProgress steps(progress);
    if (const CopyOutcome entered = EnterEeprom(link, steps); !entered.ok()) return entered;
    EepromImage image;
    RunEditor editor(link);
    for (const int block : ConfigBlocks)
        if (!ReadBlock(editor, block, image.Blocks[block], steps))
            return Outcome(CopyResult::Timeout);
    steps.Set(CopyProgressMaximum);
    if (!LeaveByteEditor(link) || !link.SendCommand(QStringLiteral("quit"), MainPrompt))
        return Outcome(CopyResult::Timeout);

    if (!file.Commit(image)) return Outcome(CopyResult::FileError, file.ErrorText());
    return Finished(link);
}

CopyOutcome CheckBackupToWrite(const QString& path, bool allowIncomplete, EepromImage& image) {
    QStringList lacks;
    if (const CopyOutcome read = ReadBackup(path, image, lacks); !read.ok()) return read;
    if (!lacks.isEmpty() && !allowIncomplete)
        return Outcome(CopyResult::IncompleteFile, lacks.mid(0, LacksShown).join(u'\n'));
    return Outcome(CopyResult::Ok);
}

CopyOutcome WriteBlocksToEeprom(ConsoleLink& link, const EepromImage& image,
                                const ProgressFn& progress) {
    ReplyTimeoutScope timeouts(link, HandshakeTimeoutMs);
    CopyProgress steps(progress);
    if (const CopyOutcome entered = EnterEeprom(link, steps); !entered.ok()) return entered;
    RunEditor editor(link);
    for (const int block : ConfigBlocks)
        if (!editor.Write(BackupRun(block, image.Blocks[block]), [&steps] { steps.Step(); }))
            return Outcome(CopyResult::Timeout);
    steps.Set(CopyProgressMaximum);
    if (!link.SendCommand(QStringLiteral("quit"), MainPrompt)) return Outcome(CopyResult::Timeout);
    return Finished(link);
}

}  // namespace kv
