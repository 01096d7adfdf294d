// The editor control under loads and clears that replace its window, and the
// stream failures it reports.
#include "tests/documents/DocumentFixture.h"

#include "ui/SysUtils.h"

namespace {

// A stream holding `content` whose reads fail at once and whose writes stop
// after `room` bytes.
class BrokenStream : public TMemoryStream {
public:
    BrokenStream(const std::string& content, size_t room) : room_(content.size() + room)
    {
        WriteString(content);
        SetPosition(0);
    }
    size_t Read(void*, size_t) override { throw EReadError("Stream read error"); }
    size_t Write(const void* buffer, size_t count) override
    {
        return DataSize() + count > room_ ? 0 : TMemoryStream::Write(buffer, count);
    }

private:
    size_t room_;
};

// Lines of text without end, in a stream that says it holds 3 GB.
class EndlessText : public TStream {
public:
    size_t Read(void* buffer, size_t count) override
    {
        const std::string line = "an endless supply of lines\r\n";
        for (size_t i = 0; i < count; ++i)
            static_cast<char*>(buffer)[i] = line[(position_ + i) % line.size()];
        position_ += count;
        return count;
    }
    size_t Write(const void*, size_t) override { return 0; }
    int64_t Seek(int64_t offset, TSeekOrigin origin) override
    {
        if (origin == TSeekOrigin::End)
            return 3ll << 30;
        position_ = origin == TSeekOrigin::Beginning ? offset : position_ + offset;
        return position_;
    }

private:
    int64_t position_ = 0;
};

} // namespace

TEST_F(DocumentTest, ReplacingTheTextKeepsTheEditorsSettings)
{
    StartInMode("rich");
    TRichEdit& memo = *Form1->memo1;
    memo.SetSelText("old text that goes");
    memo.SetReadOnly(true);
    memo.SetFocus();
    RECT before;
    GetWindowRect(memo.Handle(), &before);
    HWND above = GetWindow(memo.Handle(), GW_HWNDPREV);
    int selectionChanges = 0;
    memo.OnSelectionChange = [&](TObject*) { ++selectionChanges; };

    TMemoryStream rtf;
    rtf.WriteString("{\\rtf1 new {\\b text}\\par}");
    rtf.SetPosition(0);
    memo.LoadFromStream(rtf);
    EXPECT_EQ(memo.Text(), "new text");
    EXPECT_EQ(memo.SelStart(), 0);
    EXPECT_TRUE(memo.ReadOnly());
    EXPECT_TRUE(memo.Focused());
    EXPECT_TRUE(GetWindowLongA(memo.Handle(), GWL_STYLE) & WS_VISIBLE);
    EXPECT_EQ(memo.Perform(EM_GETLIMITTEXT), 200000000);
    EXPECT_EQ(TControl::FromHandle(memo.Handle()), &memo);
    EXPECT_EQ(GetWindow(memo.Handle(), GW_HWNDPREV), above);
    RECT after;
    GetWindowRect(memo.Handle(), &after);
    EXPECT_TRUE(EqualRect(&before, &after));
    memo.Select(4, 2);
    EXPECT_GT(selectionChanges, 0);
    memo.SetReadOnly(false);

    // Cleared, it types on as an editor emptied by its window text does.
    TRichEdit& peer = *Form1->RichEdit1;
    for (TRichEdit* editor : {&memo, &peer}) {
        TMemoryStream ending;
        ending.WriteString("{\\rtf1{\\fonttbl{\\f0 Arial;}{\\f1 Courier New;}}\\f0 one\\par\\f1\\fs30\\i ends}");
        ending.SetPosition(0);
        editor->LoadFromStream(ending);
    }
    memo.Clear();
    SetWindowTextA(peer.Handle(), "");
    EXPECT_EQ(memo.TextLength(), 0);
    for (TRichEdit* editor : {&memo, &peer}) {
        editor->SetSelText("typed");
        editor->Select(0, 5);
    }
    EXPECT_EQ(memo.SelAttributes().name, peer.SelAttributes().name);
    EXPECT_EQ(memo.SelAttributes().size, peer.SelAttributes().size);
    EXPECT_EQ(memo.SelAttributes().style, peer.SelAttributes().style);
    // The editor's own font stays the default for loaded plain text.
    memo.PlainText = true;
    TMemoryStream plain;
    plain.WriteString("plain\r\ntext");
    plain.SetPosition(0);
    memo.LoadFromStream(plain);
    memo.SelectAll();
    EXPECT_EQ(memo.SelAttributes().style & fsBold, 0u);
    EXPECT_EQ(memo.SelAttributes().name, memo.Font().Name());
}

TEST_F(DocumentTest, StreamsThatFailAreReportedAsSuch)
{
    StartInMode("plain");
    TRichEdit& memo = *Form1->memo1;
    BrokenStream unreadable("cannot be read", 0);
    EXPECT_EQ(FailureOf([&] { memo.LoadFromStream(unreadable); }), "Failed to Load Stream");
    memo.PlainText = false;
    EXPECT_EQ(FailureOf([&] { memo.LoadFromStream(unreadable); }), "Failed to Load Stream");

    memo.SetSelText(std::string(10000, 'x'));
    BrokenStream full("", 100);
    EXPECT_EQ(FailureOf([&] { memo.SaveToStream(full); }), "Failed to Save Stream");

    // A text too big for the memory is refused and not left half loaded.
    memo.PlainText = true;
    EndlessText endless;
    EXPECT_EQ(FailureOf([&] { memo.LoadFromStream(endless); }), "Failed to Load Stream");
    EXPECT_EQ(memo.TextLength(), 0);
    EXPECT_LT(endless.Position(), 64ll << 20);
    memo.SetSelText("still works");
    EXPECT_EQ(memo.Text(), "still works");
}

TEST_F(DocumentTest, FormattingAMixedSelectionReachesAllOfIt)
{
    StartInMode("rich");
    TRichEdit& memo = *Form1->memo1;
    memo.SetSelText("half bold");
    memo.Select(5, 4);
    TCharAttributes bold;
    bold.mask = CFM_BOLD;
    bold.style = fsBold;
    memo.SetSelAttributes(bold);
    memo.SelectAll();
    TCharAttributes all = memo.SelAttributes();
    EXPECT_FALSE(all.mask & CFM_BOLD); // mixed

    // The first half already has the wanted face: the whole text still gets it.
    TCharAttributes plain = all;
    plain.mask = CFM_BOLD | CFM_FACE | CFM_SIZE | CFM_COLOR;
    plain.style = 0;
    memo.SetSelAttributes(plain);
    all = memo.SelAttributes();
    EXPECT_TRUE(all.mask & CFM_BOLD);
    EXPECT_EQ(all.style & fsBold, 0u);

    // And again with nothing to change: the text stays as it is.
    memo.SetSelAttributes(plain);
    memo.Select(5, 4);
    EXPECT_EQ(memo.SelAttributes().style & fsBold, 0u);
}
