#include "settings/IniTestSupport.h"

#include <gtest/gtest.h>

#include <limits>

namespace brivane {
namespace {

using test::ReadText;
using test::WriteText;

class IniEditTest : public ::testing::Test {
protected:
    void Load(const std::string& text)
    {
        WriteText(Path(), text);
        ini.LoadINI(Path());
    }
    std::string Path() const { return dir / "Brivane.ini"; }

    test::TempDir dir;
    test::RecordingInteraction ui;
    clsINI ini{ui};
};

TEST_F(IniEditTest, ReadStringGivesTheFirstMatchOrTheDefault)
{
    Load("[general]\r\nk=lower\r\n[General]\r\nk=1\r\nk=2\r\nempty=\r\n[General]\r\nk=3\r\n");
    EXPECT_EQ(ini.ReadString("General", "k"), "1");
    EXPECT_EQ(ini.ReadString("general", "k"), "lower");
    EXPECT_EQ(ini.ReadString("General", "empty", "default"), "");
    EXPECT_EQ(ini.ReadString("General", "K", "default"), "default");
    EXPECT_EQ(ini.ReadString("GENERAL", "k"), "");
    EXPECT_EQ(ini.ReadString("None", "k", 280), "280");
}

TEST_F(IniEditTest, ReadLongTakesTheLeadingNumber)
{
    const std::vector<std::pair<std::string, std::int32_t>> cases{
        {"300", 300}, {"300 ticks", 300}, {"2.5", 2}, {"3.5", 4}, {"-2.5", -2}, {"-7.5", -8},
        {"", 0}, {"abc", 0}, {" 1 2\t3", 123}, {"\n4\n2", 42}, {"+5", 5}, {"-", 0}, {".", 0},
        {".5", 0}, {".51", 1}, {"1.5e1", 15}, {"1e3x", 1000}, {"1e", 1}, {"1E+2", 100}, {"0x10", 0},
        {"12,5", 12}, {"99999999999", std::numeric_limits<std::int32_t>::max()},
        {"-99999999999", std::numeric_limits<std::int32_t>::min()},
        {"1e400", std::numeric_limits<std::int32_t>::max()}, {"1e-400", 0}, {"0.0001e400", std::numeric_limits<std::int32_t>::max()},
        {"2147483647.5", std::numeric_limits<std::int32_t>::max()}};
    for (const auto& [value, expected] : cases) {
        ini.WriteValue("S", "k", value);
        EXPECT_EQ(ini.ReadLong("S", "k", 280), expected) << "'" << value << "'";
    }
    EXPECT_EQ(ini.ReadLong("S", "missing", 280), 280);
    EXPECT_EQ(ini.ReadLong("None", "k", -5), -5);
    EXPECT_EQ(ini.ReadLong("None", "k", 1LL << 40), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(ini.ReadLong("None", "k", "abc"), 0);
    EXPECT_EQ(ini.ReadLong("None", "k", "7 days"), 7);
}

TEST_F(IniEditTest, EditsChangeTheDocumentAndSaveAtOnce)
{
    ini.LoadINI(Path());
    ini.WriteValue("General", "OriginalTics", "280");
    EXPECT_EQ(ReadText(Path()), "[General]\r\nOriginalTics=280\r\n");
    ini.WriteValue("General", "MakeBackups", "1");
    ini.WriteValue("General", "Folder", "/home/me/music");
    ini.WriteValue("General", "OriginalTics", "350");
    EXPECT_EQ(ReadText(Path()), "[General]\r\nFolder=/home/me/music\r\nMakeBackups=1\r\nOriginalTics=350\r\n");

    ini.WriteValue("general", "x", "1");
    EXPECT_EQ(ini.Sections().size(), 2u) << "names match case-sensitively";
    ini.DeleteKey("General", "MakeBackups");
    ini.DeleteKey("General", "Folder");
    ini.DeleteKey("General", "OriginalTics");
    EXPECT_EQ(ReadText(Path()), "[General]\r\n\r\n[general]\r\nx=1\r\n");
    ini.DeleteSection("general");
    EXPECT_EQ(ReadText(Path()), "[General]\r\n");
    ini.DeleteSection("General");
    EXPECT_EQ(ReadText(Path()), "");
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(IniEditTest, DeletesOfAbsentNamesStillRewriteTheFile)
{
    Load("; a comment\r\n[A]\r\nx=1\r\n\r\n\r\n[B]\r\ny=2");
    ini.DeleteKey("A", "none");
    EXPECT_EQ(ReadText(Path()), "[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n");
    WriteText(Path(), "changed");
    ini.DeleteSection("none");
    EXPECT_EQ(ReadText(Path()), "[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n");
}

TEST_F(IniEditTest, DuplicatesAreEditedFirstFirst)
{
    Load("[S]\r\nk=1\r\n[S]\r\nk=2\r\n");
    ini.WriteValue("S", "k", "changed");
    EXPECT_EQ(ReadText(Path()), "[S]\r\nk=changed\r\n\r\n[S]\r\nk=2\r\n");
    ini.DeleteSection("S");
    EXPECT_EQ(ini.ReadString("S", "k"), "2");
}

TEST_F(IniEditTest, WithSavingOffEditsStayInMemory)
{
    Load("[S]\r\nk=1\r\n");
    ini.AllowSaveFile(false);
    EXPECT_FALSE(ini.AllowSaveFile());
    ini.WriteValue("S", "k", "2");
    ini.DeleteSection("S");
    ini.WriteValue("T", "j", "3");
    EXPECT_EQ(ReadText(Path()), "[S]\r\nk=1\r\n");
    ini.AllowSaveFile(true);
    EXPECT_EQ(ReadText(Path()), "[S]\r\nk=1\r\n") << "switching saving on writes nothing by itself";
    ini.SaveFile();
    EXPECT_EQ(ReadText(Path()), "[T]\r\nj=3\r\n");
}

TEST_F(IniEditTest, WhatTheWriterWritesLoadsBackByteForByte)
{
    const std::vector<std::string> files{
        "", "[A]\r\n", "[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n", "[]\r\n=\r\n",
        "[S]\r\n1=a\r\n2=b\r\nk=x=y\r\nz= \r\n\r\n[S]\r\n\r\n[T]\r\nv=\x80\xFF\n\xE9\r\n",
        "[General] ]\r\nFolder=C:\\Games\\Duke 2\r\n"};
    for (const std::string& file : files) {
        Load(file);
        ini.SaveFile();
        EXPECT_EQ(ReadText(Path()), file);
    }
}

TEST_F(IniEditTest, SectionLinesAreRebuiltFromTheirNames)
{
    Load("[General \r\n[General] \r\n");
    ini.SaveFile();
    EXPECT_EQ(ReadText(Path()), "[General]\r\n\r\n[General]]\r\n");
}

} // namespace
} // namespace brivane
