// The settings file.

#include "TempFolder.h"
#include "platform/IniFile.h"

#include <gtest/gtest.h>

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
