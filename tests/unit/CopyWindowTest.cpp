// The EEPROM copy window's rules: which controls each state offers, the state a transfer
// ends in, and the message for each outcome. The window only applies them (ImpExpEepTest).

#include <gtest/gtest.h>

#include "backup/CopyWindowStates.h"

namespace kv {
namespace {

using enum CopyWindowState;
using enum CopyResult;
using enum CopyDirection;

// Open COM, Close COM, port list, Import and Export, Exit: "1" enabled.
TEST(CopyWindow, ControlsOfEachState) {
    const std::pair<CopyWindowState, const char*> rows[] = {
        {PortClosed, "10101"},
        {PortOpen, "01111"},
        {Transferring, "00000"},
        {Transferred, "01011"},
    };
    for (const auto& [state, expected] : rows) {
        const CopyWindowLook look = LookOf(state);
        std::string flags;
        for (bool on : {look.Connect, look.Disconnect, look.ComPort, look.Transfers, look.Exit})
            flags += on ? '1' : '0';
        EXPECT_EQ(flags, expected) << int(state);
    }
}

// A failure closes the port, except an import's file error, which leaves it as it was.
TEST(CopyWindow, StateAfterATransfer) {
    const struct {
        CopyDirection Direction;
        CopyResult Result;
        CopyWindowState Before, After;
    } rows[] = {
        {Import, Ok, PortOpen, Transferred},
        {Export, Timeout, Transferred, PortClosed},
        {Import, FileError, Transferred, Transferred},
        {Export, FileError, PortOpen, PortClosed},
        {Import, UnknownController, PortOpen, PortClosed},
    };
    for (const auto& row : rows)
        EXPECT_EQ(StateAfterTransfer(row.Direction, row.Result, row.Before), row.After)
            << int(row.Result);
}

CopyOutcome WithEthernet(const EthernetParams& ethernet) {
    CopyOutcome outcome;
    outcome.Ethernet = ethernet;
    return outcome;
}

TEST(CopyWindow, MessageOfEachOutcome) {
    const struct {
        CopyDirection Direction;
        CopyOutcome Outcome;
        QString Text, Title;
        MessageKind Kind = MessageKind::Error;  // the box's icon
    } rows[] = {
        {Import, WithEthernet({"10.0.0.5", "255.0.0.0", "10.0.0.1"}),
         "Import to ini file finished.\nThe Ethernet settings are not part of an EEPROM backup; "
         "the gateway holds IP address 10.0.0.5, mask 255.0.0.0, gateway 10.0.0.1.",
         "", MessageKind::Information},
        {Export,
         {Ok, {}},
         "Export to KV-9052R's EEPROM finished.\nThe Ethernet settings are not part of an EEPROM "
         "backup, and the gateway's could not be read.",
         "",
         MessageKind::Information},
        {Export, {Timeout, {}}, "Timeout", "Error"},
        {Import, {UnknownController, {}}, "This modules is not 5308RTD!", "Error"},
        {Export, {FileTypeError, "binary"}, "File Data Type Error\nbinary", "Error"},
        {Export, {FileError, "gone"}, "Can't read the backup file /x.\ngone", "Error"},
        {Export, {IncompleteFile, "B3"}, "The file lacks:\nB3\nNothing was written.", "Error"},
        {Export, {NoBackupKept, "No room"}, "No room\nNothing was written.", "Error"},
    };
    for (const auto& row : rows) {
        const CopyMessage message = CopyOutcomeMessage(row.Direction, row.Outcome, "/x");
        EXPECT_EQ(message.Text, row.Text);
        EXPECT_EQ(message.Title, row.Title) << row.Text.toStdString();
        EXPECT_EQ(message.Kind, row.Kind) << row.Text.toStdString();
    }
}

}  // namespace
}  // namespace kv
