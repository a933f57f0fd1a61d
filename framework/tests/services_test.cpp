// Message boxes through the hook, file dialogs through theirs, settings files.
#include <gtest/gtest.h>

#include "framework/dialogs.h"
#include "framework/forms.h"
#include "framework/imglist.h"

namespace {

TEST(MessageBoxes, TheLogAnswersAndRecords) {
  Application->SetTitle("Editor");
  TMessageBoxLog log(IDYES);
  EXPECT_TRUE(AskYesNo("Skin file has been modified, Save it ?"));
  log.SetAnswer(IDNO);
  EXPECT_FALSE(AskYesNo("Again ?"));
  ShowMessage("Done");
  ASSERT_EQ(log.Calls().size(), 3u);
  EXPECT_EQ(log.Calls()[0].Text, "Skin file has been modified, Save it ?");
  EXPECT_EQ(log.Calls()[0].Caption, "Editor");
  EXPECT_EQ(log.Calls()[0].Flags & MB_TYPEMASK, static_cast<UINT>(MB_YESNO));
  EXPECT_EQ(log.Calls()[2].Flags & MB_TYPEMASK, static_cast<UINT>(MB_OK));
  {
    TMessageBoxLog inner;  // nests; the outer one is back afterwards
    ShowMessage("inner");
    EXPECT_EQ(inner.Calls().size(), 1u);
  }
  ShowMessage("outer");
  EXPECT_EQ(log.Calls().size(), 4u);
}

TEST(FileDialogs, FilterAndHook) {
  EXPECT_EQ(TOpenDialog::NativeFilter("Skin files (*.skn)|*.skn"),
            std::string("Skin files (*.skn)\0*.skn\0\0", 26));
  TSaveDialog dialog(nullptr);
  dialog.SetFilter("Execute files (*.exe)|*.exe");
  dialog.SetOptions(dialog.Options() | ofNoChangeDir);
  bool saw_save = false;
  TFileDialogHook previous = SetFileDialogHook([&](TOpenDialog& d, bool save) {
    saw_save = save;
    EXPECT_EQ(d.Filter(), "Execute files (*.exe)|*.exe");
    d.SetFileName("C:\\x\\y.exe");
    return true;
  });
  EXPECT_TRUE(dialog.Execute());
  EXPECT_TRUE(saw_save);
  EXPECT_EQ(dialog.FileName(), "C:\\x\\y.exe");
  EXPECT_EQ(GetTextPropByName(&dialog, "FileName"), "C:\\x\\y.exe");
  SetFileDialogHook(previous);
}

TEST(Settings, ProfileFileReadsAndWritesKeys) {
  std::string path = TempFolder() + "fw_settings.ini";
  DeleteFileA(path.c_str());
  TProfileFile ini(path);
  EXPECT_EQ(ini.ReadString("Edit", "Program", "none"), "none");
  ini.WriteString("Edit", "Program", "C:\\paint.exe");
  ini.WriteString("FileList", "File1", "a.skn");
  ini.WriteString("FileList", "File2", "b.skn");
  std::string long_value(3000, 'x');
  ini.WriteString("Long", "Value", long_value);
  EXPECT_EQ(ini.ReadString("edit", "program", ""), "C:\\paint.exe");
  EXPECT_EQ(ini.ReadString("Long", "Value", ""), long_value);
  EXPECT_EQ(ini.ReadSection("FileList"), (std::vector<std::string>{"File1", "File2"}));
  EXPECT_TRUE(ini.ValueExists("FileList", "file2"));
  EXPECT_FALSE(ini.ValueExists("FileList", "File3"));

  struct Case {
    const char* text;
    int expected;
  } ints[] = {{"42", 42}, {" -7 ", -7}, {"0x1F", 31}, {"12abc", -1}, {"", -1}, {"99999999999", -1}};
  for (const Case& c : ints) {
    ini.WriteString("Numbers", "N", c.text);
    EXPECT_EQ(ini.ReadInteger("Numbers", "N", -1), c.expected) << c.text;
  }
  ini.EraseSection("FileList");
  EXPECT_FALSE(ini.SectionExists("FileList"));
  EXPECT_TRUE(ini.SectionExists("Edit"));
  ini.DeleteKey("Edit", "Program");
  EXPECT_FALSE(ini.ValueExists("Edit", "Program"));
  DeleteFileA(path.c_str());
}

TEST(Folders, ProgramAndTempFoldersEndWithASeparator) {
  std::string program = ProgramFolder();
  ASSERT_FALSE(program.empty());
  EXPECT_EQ(program.back(), '\\');
  char exe[MAX_PATH];
  GetModuleFileNameA(nullptr, exe, MAX_PATH);
  EXPECT_EQ(std::string(exe).rfind(program, 0), 0u);
  EXPECT_EQ(TempFolder().back(), '\\');
  std::vector<uint8_t> data;
  EXPECT_FALSE(LoadResourceBytes(nullptr, "NO_SUCH_RESOURCE", data));
}

}  // namespace

namespace {

TEST(Resources, RawDataAndBitmapsByName) {
  std::vector<uint8_t> data;
  ASSERT_TRUE(LoadResourceBytes(MainInstance(), "SAMPLE", data));
  EXPECT_EQ(std::string(data.begin(), data.end()), "raw resource bytes\n");

  TBitmap b;
  b.LoadFromResourceName(MainInstance(), "GLYPHS");
  EXPECT_EQ(b.Width(), 8);
  EXPECT_EQ(b.Height(), 4);
  EXPECT_EQ(b.PixelFormat(), TPixelFormat::pf8bit);
  EXPECT_EQ(b.Canvas().Pixel(1, 1), 0x0000FFu);  // red, top-down as drawn
  EXPECT_EQ(b.Canvas().Pixel(0, 3), 0xFF00FFu);
  EXPECT_THROW(b.LoadFromResourceName(MainInstance(), "NOPE"), std::runtime_error);
  EXPECT_EQ(b.Width(), 8);

  TImageList list(nullptr);
  list.SetSize(4, 4);
  EXPECT_FALSE(list.LoadFromResourceName(MainInstance(), "NOPE", clFuchsia));
  ASSERT_TRUE(list.LoadFromResourceName(MainInstance(), "GLYPHS", clFuchsia));
  EXPECT_EQ(list.Count(), 2);
  TBitmap target(4, 4, TPixelFormat::pf24bit);
  target.Canvas().Brush().SetColor(clWhite);
  target.Canvas().FillRect(RECT{0, 0, 4, 4});
  list.Draw(target.Canvas(), 0, 0, 0);
  EXPECT_EQ(target.Canvas().Pixel(0, 0), 0xFFFFFFu);  // magenta is transparent
  EXPECT_EQ(target.Canvas().Pixel(2, 2), 0x0000FFu);
  list.Draw(target.Canvas(), 0, 0, 1);
  EXPECT_EQ(target.Canvas().Pixel(0, 0), 0xFF0000u);
}

}  // namespace
