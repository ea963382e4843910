// The settings file and the safe file write.

#include "TempFolder.h"
#include "platform/IniFile.h"
#include "platform/SafeFile.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <cstdlib>

using platform::IniFile;
namespace fs = std::filesystem;

TEST(IniFile, WrittenSettingsReadBackAfterSave)
{
    TempFolder dir;
    const fs::path path = dir / "quillmarven.INI";
    {
        IniFile ini(path);
        ini.WriteString("MIDISetting", "MIDIIN", "FS1R:FS1R MIDI 1");
        ini.WriteString("MIDISetting", "MIDIOUT", "  padded name ");
        ini.WriteString("MIDISetting", "MIDIKeyboard", "");
        ini.WriteInteger("MIDISetting", "DeviceID", 15);
        ASSERT_TRUE(ini.Save());
    }
    EXPECT_EQ(ReadText(path), "[MIDISetting]\nMIDIIN=FS1R:FS1R MIDI 1\nMIDIOUT=\"  padded name \"\n"
                              "MIDIKeyboard=\nDeviceID=15\n");
    IniFile ini(path);
    EXPECT_EQ(ini.ReadString("MIDISetting", "MIDIIN"), "FS1R:FS1R MIDI 1");
    EXPECT_EQ(ini.ReadString("MIDISetting", "MIDIOUT"), "  padded name ");
    EXPECT_EQ(ini.ReadString("MIDISetting", "MIDIKeyboard", "absent"), "");
    EXPECT_EQ(ini.ReadInteger("MIDISetting", "DeviceID"), 15);
    // Names compare without case, as in Windows INI files.
    EXPECT_EQ(ini.ReadInteger("midisetting", "deviceid"), 15);
}

TEST(IniFile, MissingFileAndBadValuesGiveDefaults)
{
    TempFolder dir;
    IniFile missing(dir / "none.INI");
    EXPECT_EQ(missing.ReadString("MIDISetting", "MIDIIN"), "");
    EXPECT_EQ(missing.ReadInteger("MIDISetting", "DeviceID"), 0);

    WriteText(dir / "bad.INI", "[MIDISetting]\r\nDeviceID=12abc\r\nA=+7\r\nB= -3 \r\nC=99999999999\r\nD=\r\n");
    IniFile bad(dir / "bad.INI");
    EXPECT_EQ(bad.ReadInteger("MIDISetting", "DeviceID", 4), 4);
    EXPECT_EQ(bad.ReadInteger("MIDISetting", "A"), 7);
    EXPECT_EQ(bad.ReadInteger("MIDISetting", "B"), -3);
    EXPECT_EQ(bad.ReadInteger("MIDISetting", "C", 1), 1);
    EXPECT_EQ(bad.ReadInteger("MIDISetting", "D", 2), 2);
    EXPECT_EQ(bad.ReadInteger("Other", "A", 5), 5);
}

TEST(IniFile, RewriteKeepsOtherContentAndCannotBeSplitByLineBreaks)
{
    TempFolder dir;
    const fs::path path = dir / "s.INI";
    WriteText(path, "; kept comment\n[Other]\nx=1\n\n[MIDISetting]\nMIDIIN=old\n\n");
    IniFile ini(path);
    ini.WriteString("MIDISETTING", "midiin", "new");
    ini.WriteString("MIDISetting", "MIDIOUT", "evil\nDeviceID=9");
    ini.WriteInteger("Added", "k", 3);
    ASSERT_TRUE(ini.Save());
    EXPECT_EQ(ReadText(path), "; kept comment\n[Other]\nx=1\n\n[MIDISetting]\nMIDIIN=new\n"
                              "MIDIOUT=evil DeviceID=9\n\n[Added]\nk=3\n");
    IniFile again(path);
    EXPECT_EQ(again.ReadInteger("MIDISetting", "DeviceID", -1), -1);
}

TEST(SafeWrite, ReplacesTheFileAndKeepsItsPermissions)
{
    TempFolder dir;
    const fs::path path = dir / "data.fse";
    WriteText(path, "old contents");
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);

    const std::string text = "new";
    std::string error;
    ASSERT_TRUE(platform::WriteFileSafely(path, text.data(), text.size(), &error)) << error;
    EXPECT_EQ(ReadText(path), "new");
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), 1);
}

TEST(SafeWrite, WritesThroughASymbolicLink)
{
    TempFolder dir;
    WriteText(dir / "real.eg", "old");
    fs::create_symlink("real.eg", dir / "link.eg");
    ASSERT_TRUE(platform::WriteFileSafely(dir / "link.eg", "abc", 3));
    EXPECT_TRUE(fs::is_symlink(dir / "link.eg"));
    EXPECT_EQ(ReadText(dir / "real.eg"), "abc");
}

// Exits 0 when the write failed and said which file it was about.
[[noreturn]] static void WriteBeyondFileSizeLimit(const fs::path& path)
{
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    limit.rlim_cur = limit.rlim_max = 100;
    setrlimit(RLIMIT_FSIZE, &limit);
    const std::string big(1000, 'x');
    std::string why;
    const bool ok = platform::WriteFileSafely(path, big.data(), big.size(), &why);
    std::exit(!ok && why.find("data.fse") != std::string::npos ? 0 : 1);
}

TEST(SafeWrite, FailureReportsAndLeavesTheOldFileWhole)
{
    TempFolder dir;
    std::string error;
    EXPECT_FALSE(platform::WriteFileSafely(dir / "no-such-folder" / "x.fse", "a", 1, &error));
    EXPECT_NE(error.find("no-such-folder"), std::string::npos) << error;

    // A write that fails half-way (the file size limit stands in for a full disk); run in a
    // child process so the limit stays there.
    const fs::path path = dir / "data.fse";
    WriteText(path, "the old file");
    EXPECT_EXIT(WriteBeyondFileSizeLimit(path), testing::ExitedWithCode(0), "");
    EXPECT_EQ(ReadText(path), "the old file");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), 1)
        << "the temporary file was left behind";
}
