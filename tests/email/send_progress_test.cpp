// A 20 MB send from the window shown modally: the window stays live, the
// progress bar moves, the status texts follow in order, and Close during the
// send closes the window once the mail is delivered.
#include "SendTestSupport.h"

#include "email/SendForm.h"
#include "mainform/MainForm.h"

#include "ScriptedServer.h"

#include <gtest/gtest.h>

#include <set>

namespace {

// A click of the real mouse (through the system's input queue) in the middle of a window.
void MouseClick(HWND window)
{
    RECT rect;
    GetWindowRect(window, &rect);
    SetCursorPos((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_MOUSE;
    input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, input, sizeof(INPUT));
}

} // namespace

TEST(SendProgress, A20MegabyteSendKeepsTheWindowLiveAndCloseWaitsForTheMail)
{
    ClearStore();
    ScriptedDialogs dialogs;
    // The server pauses after each read of the data, as over a link slower
    // than loopback, so that the send lasts long enough to watch.
    TSmtpScript script;
    script.DataReadPause = 1;
    TScriptedServer server([&](TServerConnection& c) { RunSmtp(c, script); });
    StartWithPreferences(dialogs, server.Port());
    std::string content(20 << 20, '\0');
    for (size_t i = 0; i < content.size(); ++i)
        content[i] = static_cast<char>((i * 2654435761u) >> 13);
    const std::string big = WriteTestFile("big.bin", content);
    content.clear();
    Form8->attach->Add(big);

    StatusRecorder status(Form8->Label1->Handle());
    // The progress bar's text is the percentage it shows.
    StatusRecorder gauge(Form8->Gauge1->Handle());
    bool closeClicked = false, closeSeenDuringSend = false;
    auto original = Form8->smtp->OnPacketSent;
    Form8->smtp->OnPacketSent = [&](TObject* sender) {
        original(sender);
        if (closeClicked && Form8->ModalResult() != mrNone && Form8->Visible())
            closeSeenDuringSend = true;
        if (!closeClicked && Form8->Gauge1->Position() >= 30) {
            MouseClick(Form8->Panel12->Handle());
            closeClicked = true;
        }
    };
    // Should the Close click go astray, the window is closed once the send is over,
    // so that the test fails instead of waiting for ever.
    TTimer guard;
    guard.OnTimer = [&](TObject*) {
        if (!Form8->Sending && status.Texts.size() > 1)
            PostMessageA(Form8->Handle(), WM_CLOSE, 0, 0);
    };
    PostClick(Form8->Panel1->Handle());
    Form1->Sendasemail1Click(nullptr); // modal: handles the click, returns when closed
    std::set<std::string> positions(gauge.Texts.begin(), gauge.Texts.end());
    positions.erase("0%");

    EXPECT_FALSE(Form8->Visible());
    EXPECT_EQ(status.Texts, (std::vector<std::string>{"Connecting to server...", "Connected to server...",
                                                      "Sending messages...", "Mail delivered!"}));
    EXPECT_GE(positions.size(), 5u) << "distinct progress values above 0";
    EXPECT_TRUE(closeSeenDuringSend) << "Close was handled while the send ran";
    EXPECT_EQ(Form8->Gauge1->Position(), 0);
    EXPECT_TRUE(server.Join());
    ASSERT_FALSE(script.Commands.empty());
    EXPECT_EQ(script.Commands.back(), "QUIT");
    ASSERT_EQ(script.Data.size(), 1u);
    EXPECT_GT(script.Data[0].size(), (20u << 20) / 3 * 4) << "the whole file, base64-encoded";
    EXPECT_NE(script.Data[0].find("filename=\"big.bin\""), std::string::npos);
    StopProgram(false);
    DeleteFileA(big.c_str());
    ClearStore();
}
