// The printer lists against a private CUPS server with two queues
// (Office_PS, the default, then Studio_PS; Wine lists printers in the
// order of their names), and "Add" with Wine's own NET
// stopping and starting the spooler.
#include <gtest/gtest.h>

#include <cstdio>

#include "app/main_layout.h"
#include "harness.h"
#include "tests/common/texts.h"

namespace {

using e2e::Window;
using namespace std::chrono_literals;

const std::string kPrintersKey = "HKLM\\SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\";

e2e::RegValue PortOf(const std::string& printer) {
  return e2e::RegQuery(kPrintersKey + printer, "Port");
}

class Printers : public e2e::ToolTest {
 protected:
  std::vector<std::string> Installed() const { return main_.Control(qv::kIdComboBox1).Items(); }
  std::vector<std::string> Monitored() const { return main_.Control(qv::kIdListBox1).Items(); }
  // Presses "Query Printers Monitored" and waits until the list is `want`.
  bool QueryMonitored(const std::vector<std::string>& want) {
    main_.Control(qv::kIdLMDButton10).Press();
    return e2e::WaitFor([&] { return Monitored() == want; }, 5s);
  }
};

TEST_F(Printers, AddPointsTheSecondQueueAtThePdfPort) {
  const Window combo = main_.Control(qv::kIdComboBox1);
  EXPECT_EQ(Installed(), (std::vector<std::string>{"Office_PS", "Studio_PS"}));
  EXPECT_EQ(combo.SelectedIndex(), 0);
  EXPECT_TRUE(Monitored().empty());
  EXPECT_EQ(PortOf("Office_PS").data, "CUPS:Office_PS");
  EXPECT_EQ(PortOf("Studio_PS").data, "CUPS:Studio_PS");

  combo.SelectItem(1);
  main_.Control(qv::kIdLMDButton1).Press();
  tool_->AnswerMessageBox({"Continue?",
                           "Are you sure you wish to monitor this printer: Studio_PS?\r"
                           "Doing so will change the current port to a PDF port.\r\r"
                           "We will be restarting the Print Spooler Service during this process "
                           "which may take up to a minute to complete\r"
                           "Do you wish to continue?",
                           "yellow",
                           {"Yes", "No"}},
                          "Yes");

  const e2e::MessageBoxWindow box = tool_->ExpectMessageBox(
      {"Processes Complete", qv::texts::kPrinterAddedText, "", {"OK"}}, 60s);
  // Both lists were rebuilt before the message.
  EXPECT_EQ(Installed(), (std::vector<std::string>{"Office_PS", "Studio_PS"}));
  EXPECT_EQ(combo.SelectedIndex(), 0);
  EXPECT_EQ(Monitored(), std::vector<std::string>{"Studio_PS"});
  e2e::SaveScreenshot("printers-after-add");
  box.Answer();

  const e2e::RegValue port = PortOf("Studio_PS");
  EXPECT_EQ(port.type, "REG_SZ");
  EXPECT_EQ(port.data, "QuorvinPDF:");
  EXPECT_EQ(PortOf("Office_PS").data, "CUPS:Office_PS") << "the other printer is untouched";

  // A new process (and Wine's sync with CUPS at its start) keeps the port.
  Exit(*tool_, main_);
  Start();
  EXPECT_EQ(Monitored(), std::vector<std::string>{"Studio_PS"});
  EXPECT_EQ(PortOf("Studio_PS").data, "QuorvinPDF:");
}

TEST_F(Printers, AnsweringNoChangesNothing) {
  const e2e::RegValue before = PortOf("Office_PS");
  main_.Control(qv::kIdLMDButton1).Press();  // Office_PS is selected
  tool_->AnswerMessageBox({"Continue?"}, "No");
  Sleep(500);
  EXPECT_FALSE(tool_->FindMessageBox()) << "nothing follows a No";
  EXPECT_EQ(PortOf("Office_PS").data, before.data);
}

TEST_F(Printers, OnlyTheExactPortNameCountsAsMonitored) {
  // Set by hand while the tool runs; "Query Printers Monitored" re-reads.
  e2e::RegAdd(kPrintersKey + "Office_PS", "Port", "REG_SZ", "quorvinpdf:");
  e2e::RegAdd(kPrintersKey + "Studio_PS", "Port", "REG_SZ", "QuorvinPDF: ");
  EXPECT_TRUE(QueryMonitored({})) << "got " << Monitored().size() << " monitored";
  // The exact name does count: the same pass sees the change.
  e2e::RegAdd(kPrintersKey + "Studio_PS", "Port", "REG_SZ", "QuorvinPDF:");
  EXPECT_TRUE(QueryMonitored({"Studio_PS"}));
  e2e::RegAdd(kPrintersKey + "Studio_PS", "Port", "REG_SZ", "QuorvinPDF: ");
  EXPECT_TRUE(QueryMonitored({}));

  // Wine syncs its printers with CUPS at every process start; ports set
  // by hand stay as they are, so a new start reads them the same way.
  Exit(*tool_, main_);
  Start();
  EXPECT_EQ(PortOf("Office_PS").data, "quorvinpdf:");
  EXPECT_EQ(PortOf("Studio_PS").data, "QuorvinPDF: ");
  EXPECT_TRUE(Monitored().empty());
  EXPECT_EQ(Installed(), (std::vector<std::string>{"Office_PS", "Studio_PS"}));
}

TEST_F(Printers, QueryNewPrintersLeavesTheMonitoredListAlone) {
  e2e::RegAdd(kPrintersKey + "Office_PS", "Port", "REG_SZ", "QuorvinPDF:");
  ASSERT_TRUE(QueryMonitored({"Office_PS"}));
  e2e::RegAdd(kPrintersKey + "Office_PS", "Port", "REG_SZ", "CUPS:Office_PS");
  main_.Control(qv::kIdLMDButton9).Press();
  Sleep(1000);
  EXPECT_EQ(Installed(), (std::vector<std::string>{"Office_PS", "Studio_PS"}));
  EXPECT_EQ(main_.Control(qv::kIdComboBox1).SelectedIndex(), 0);
  EXPECT_EQ(Monitored(), std::vector<std::string>{"Office_PS"});
  EXPECT_TRUE(QueryMonitored({}));
}

}  // namespace
