// What a port that did not open makes the windows and the command line say, and what it
// does to the status text.

#include <gtest/gtest.h>

#include "console/PortOpening.h"

namespace kv {
namespace {

TEST(PortFailureReport, TextTitleAndStatusOfEachFailure) {
    const std::optional<QString> leftAsItIs;
    const struct {
        PortOpenError Error;
        QString SystemText;
        QString Text, Title;
        std::optional<QString> State;
    } rows[] = {
        {PortOpenError::InUse, "", "COM 3 has been occupied", "Error", "COM 3 has been occupied"},
        {PortOpenError::Other, "Permission denied", "Permission denied", "", QString()},
        {PortOpenError::Other, "", "Can't open COM 3!", "Error", leftAsItIs},
        {PortOpenError::NotOpened, "", "Can't open COM 3!", "Error", leftAsItIs},
    };
    for (const auto& row : rows) {
        const FailureReport report =
            ReportPortFailure({row.Error, row.SystemText}, 3, ReadOutPortTitles);
        EXPECT_EQ(report.Text, row.Text);
        EXPECT_EQ(report.Title, row.Title);
        EXPECT_EQ(report.CommunicationState, row.State) << row.Text.toStdString();
    }
}

}  // namespace
}  // namespace kv
