#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "store/keyed_text_file.h"
#include "support/failing_file_system.h"
#include "support/message_of.h"
#include "support/temp_dir.h"

using namespace qora;
using qora::testing::messageOf;
using qora::testing::namesIn;
using qora::testing::readBytes;
using qora::testing::TempDir;
using qora::testing::writeBytes;

namespace {

using Lines = std::vector<std::string>;

// A store over lines given by the test, with line classification open to it. It has no file, so it never saves.
class MemoryStore : public KeyedTextFile {
public:
    explicit MemoryStore(Lines lines) : KeyedTextFile("") { m_lines = std::move(lines); }
    ~MemoryStore() override { close(); }
    using KeyedTextFile::parseLine;

    LineInfo parse(int lineIndex) const {
        LineInfo info;
        parseLine(lineIndex, info);
        return info;
    }
};

} // namespace

TEST(IniFileIO, ParseLineClassifiesLinesWithOneBasedPositions) {
    MemoryStore store({"   ", "; note", "  [Engine] trailing", "x[Engine]", " ;x = 1", "x =  (1.0)  ", "x=", "[a]",
                       "= 5", "plain words", "[ab", "[a]=1"});

    EXPECT_EQ(store.parse(0).kind, LineInfo::kBlank);
    const LineInfo comment = store.parse(1);
    EXPECT_EQ(comment.kind, LineInfo::kComment);
    EXPECT_EQ(comment.commentPos, 1);
    EXPECT_EQ(comment.lineIndex, 1);

    const LineInfo header = store.parse(2);
    EXPECT_EQ(header.kind, LineInfo::kSection);
    EXPECT_EQ(header.nameStart, 4);
    EXPECT_EQ(header.nameLength, 6);
    EXPECT_EQ(store.parse(3).kind, LineInfo::kOther);

    const LineInfo indentedMarker = store.parse(4);
    EXPECT_EQ(indentedMarker.kind, LineInfo::kEntry | LineInfo::kHasValue);
    EXPECT_EQ(indentedMarker.nameStart, 2);
    EXPECT_EQ(indentedMarker.nameLength, 2);
    EXPECT_EQ(indentedMarker.commentPos, 0);

    const LineInfo entry = store.parse(5);
    EXPECT_EQ(entry.kind, LineInfo::kEntry | LineInfo::kHasValue);
    EXPECT_EQ(entry.nameStart, 1);
    EXPECT_EQ(entry.nameLength, 1);
    EXPECT_EQ(entry.assignmentPos, 3);
    EXPECT_EQ(entry.valueStart, 6);
    EXPECT_EQ(entry.valueLength, 5);

    const LineInfo empty = store.parse(6);
    EXPECT_EQ(empty.kind, LineInfo::kEntry);
    EXPECT_EQ(empty.assignmentPos, 2);
    EXPECT_EQ(empty.valueStart, 0);

    EXPECT_EQ(store.parse(7).kind, LineInfo::kOther); // one-character names are not headers
    EXPECT_EQ(store.parse(8).kind, LineInfo::kOther);
    EXPECT_EQ(store.parse(9).kind, LineInfo::kOther);
    EXPECT_EQ(store.parse(10).kind, LineInfo::kOther);
    EXPECT_EQ(store.parse(11).kind, LineInfo::kEntry | LineInfo::kHasValue);
}

TEST(IniFileIO, ReadsCountInstancesInsideTheFirstMatchingSection) {
    MemoryStore store({"[Gears]", "x = 1", "; x=comment", "x=2", "X=3", "empty=", "paren =  (1.0)  ",
                       "note = 10   ; rpm", "semi=a;b ;c", "lead = ; x", "  [Other]", "x=9", "[gears]", "x=99",
                       "late=1"});

    EXPECT_EQ(store.readStringInstance(0, "Gears", "x", "d"), "1");
    EXPECT_EQ(store.readStringInstance(2, "GEARS", "x", "d"), "3");
    EXPECT_EQ(store.readStringInstance(2, "Gears", "X", "d"), "3");
    EXPECT_EQ(store.readStringInstance(3, "Gears", "x", "d"), "d");
    EXPECT_EQ(store.readStringInstance(0, "Gears", "empty", "d"), "d");
    EXPECT_EQ(store.readStringInstance(0, "Gears", "paren", "d"), "(1.0)");
    EXPECT_EQ(store.readStringInstance(0, "Gears", "note", "d"), "10   ; rpm");
    EXPECT_EQ(store.readStringInstance(0, "Gears", "semi", "d"), "a;b ;c");
    EXPECT_EQ(store.readStringInstance(0, "Gears", "lead", "d"), "; x");
    EXPECT_EQ(store.readStringInstance(0, "Other", "x", "d"), "9");
    EXPECT_EQ(store.readStringInstance(0, "Gears", "late", "d"), "d"); // later duplicate sections are not searched
    EXPECT_EQ(store.readStringInstance(0, "Missing", "x", "d"), "d");

    EXPECT_TRUE(store.sectionExists("other"));
    EXPECT_FALSE(store.sectionExists("Othe"));
}

TEST(IniFileIO, WritesReplaceValuesInPlace) {
    MemoryStore store({"[Engine]", "SPEED = 10   ; note", "idle=", "rev =   ", "x=1", "x=2"});

    store.writeIntegerInstance(0, "engine", "speed", 20);
    store.writeStringInstance(0, "Engine", "idle", "800");
    store.writeStringInstance(0, "Engine", "rev", "9000");
    store.writeStringInstance(1, "Engine", "x", "two");

    // Only a ";" in the first column starts a comment: text after a value belongs to the value and is replaced.
    EXPECT_EQ(*store.lines(), (Lines{"[Engine]", "SPEED = 20", "idle=800", "rev =9000   ", "x=1", "x=two"}));
}

TEST(IniFileIO, WritesAddMissingInstancesEntriesAndSections) {
    MemoryStore store({"[A1]", "x=1", "y=1", "x=2", "z=1", "", "; end of A1", "[Empty]", "[Last]", "k=v"});

    store.writeStringInstance(7, "A1", "x", "3");   // one instance more, right after the last one
    store.writeStringInstance(0, "A1", "new", "n"); // after the section's last entry, before the blank line
    store.writeStringInstance(0, "Empty", "e", "1");
    store.writeBoolInstance(0, "Added", "flag", true);

    EXPECT_EQ(*store.lines(), (Lines{"[A1]", "x=1", "y=1", "x=2", "x=3", "z=1", "new=n", "", "; end of A1", "[Empty]",
                                     "e=1", "[Last]", "k=v", "", "[Added]", "flag=1"}));

    MemoryStore empty({});
    empty.writeFloatInstance(0, "First", "f", 0.1);
    empty.writeFloatInstance(1, "First", "f", 1250.0);
    EXPECT_EQ(*empty.lines(), (Lines{"[First]", "f=0.1", "f=1250"}));
}

TEST(IniFileIO, TypedReadsConvertOrFailWithTheValueInTheMessage) {
    MemoryStore store({"[Typed]", "on=7", "off=0", "n=-42", "f=2.5e3", "bad=1.5", "word=yes please"});

    EXPECT_TRUE(store.readBoolInstance(0, "Typed", "on", false));
    EXPECT_FALSE(store.readBoolInstance(0, "Typed", "off", true));
    EXPECT_TRUE(store.readBoolInstance(0, "Typed", "missing", true));
    EXPECT_EQ(store.readIntegerInstance(0, "Typed", "n", 0), -42);
    EXPECT_EQ(store.readIntegerInstance(0, "Typed", "missing", -7), -7);
    EXPECT_EQ(store.readFloatInstance(0, "Typed", "f", 0), 2500.0);
    EXPECT_EQ(store.readFloatInstance(0, "Typed", "bad", 0), 1.5);
    EXPECT_EQ(store.readFloatInstance(0, "Typed", "missing", 0.125), 0.125);

    EXPECT_EQ(
        messageOf<KeyedTextFileError>([&] { store.readBoolInstance(0, "Typed", "bad", false); }),
        "TIniFileIO::ReadBoolInstance() -  [] - '1.5' is not a valid boolean value in Section[Typed]-Entry[bad].");
    EXPECT_EQ(messageOf<KeyedTextFileError>([&] { store.readIntegerInstance(0, "typed", "BAD", 0); }),
              "TIniFileIO::ReadIntegerInstance() -  [] - '1.5' is not a valid integer value in "
              "Section[typed]-Entry[BAD].");
    EXPECT_EQ(messageOf<KeyedTextFileError>([&] { store.readFloatInstance(0, "Typed", "word", 0); }),
              "TIniFileIO::ReadFloatInstance() -  [] - 'yes please' is not a valid floating point value in "
              "Section[Typed]-Entry[word].");
}

TEST(IniFileIO, ReadSectionAndEraseSection) {
    MemoryStore store({"[Sounds]", "Sound=a.wav", "; comment", "sound=b.wav", "junk", "Other=", "", "[Keep]", "k=1",
                       "[sounds]", "late=1"});

    std::vector<std::string> keys{"stale"};
    store.readSection("SOUNDS", keys);
    EXPECT_EQ(keys, (Lines{"Sound", "sound", "Other"}));
    store.readSection("Missing", keys);
    EXPECT_TRUE(keys.empty());

    store.eraseSection("Missing");
    store.eraseSection("sounds");
    EXPECT_EQ(*store.lines(), (Lines{"[Keep]", "k=1", "[sounds]", "late=1"}));
    store.eraseSection("Sounds");
    EXPECT_EQ(*store.lines(), (Lines{"[Keep]", "k=1"}));
}

TEST(IniFileIO, VerifyFileRefusesControlAndHighBytes) {
    for (const std::string& bad : {std::string("a\tb"), std::string("caf\xE9"), std::string("x\0", 2)}) {
        MemoryStore store({"[Ok]", "k=1", bad});
        EXPECT_EQ(messageOf<KeyedTextFileError>([&] { store.verifyFile(); }),
                  "TIniFileIO::VerifyFile() -  [] - File does not appear to be a valid text file.");
        EXPECT_EQ(store.lines(), nullptr);
        EXPECT_EQ(store.readStringInstance(0, "Ok", "k", "d"), "d"); // a closed store reads as empty
    }
    MemoryStore plain({"[Ok]", "k=~\x0B"});
    EXPECT_NO_THROW(plain.verifyFile());
    MemoryStore empty({});
    EXPECT_NO_THROW(empty.verifyFile());
}

TEST(IniFileIO, LoadsAnyLineEndAndWritesBackWithCrLfOnDestruction) {
    TempDir dir;
    const std::string path = dir.file("qora.ini");
    writeBytes(path, "[Main]\nA=1\r\nB = 2\rC=3");
    {
        KeyedTextFile store(path);
        ASSERT_NE(store.lines(), nullptr);
        EXPECT_EQ(*store.lines(), (Lines{"[Main]", "A=1", "B = 2", "C=3"}));
        store.writeIntegerInstance(0, "Main", "b", 5);
    }
    EXPECT_EQ(readBytes(path), "[Main]\r\nA=1\r\nB = 5\r\nC=3\r\n");

    const std::string missing = dir.file("none.ini");
    {
        KeyedTextFile store(missing);
        EXPECT_FALSE(store.load());
        EXPECT_TRUE(store.lines()->empty());
        EXPECT_EQ(store.readIntegerInstance(0, "Main", "a", 3), 3);
    }
    EXPECT_FALSE(std::filesystem::exists(missing)); // nothing to write, no file made
}

TEST(IniFileIO, LoadOfAnUnreadablePathReleasesTheLines) {
    TempDir dir;
    const std::string path = dir.file("folder.ini");
    KeyedTextFile store(path);
    std::filesystem::create_directory(path);
    EXPECT_EQ(messageOf<KeyedTextFileError>([&] { store.load(); }),
              "TIniFileIO::Load() -  [" + path +
                  "] - Error attempting to load file.  This file may not be a text file, or is corrupt.");
    EXPECT_EQ(store.lines(), nullptr);
    EXPECT_THROW(KeyedTextFile{path}, KeyedTextFileError);
}

TEST(IniFileIO, FailedSaveLeavesTheOldFileAndReportsIt) {
    TempDir dir;
    const std::string path = dir.file("qora.ini");
    const std::string original = "[Main]\r\nA=1\r\n";
    writeBytes(path, original);
    const std::string expected = "TIniFileIO::Save() -  [" + path +
                                 "] - Error saving file.  Check that you have enough disk space or if this is a "
                                 "removable disk, that write protect is OFF.";

    qora::testing::FailingFileSystem failing;
    ScopedFileSystem scope(failing);
    {
        KeyedTextFile store(path);
        store.writeStringInstance(0, "Main", "A", "2");
        failing.failWritesAfterBytes = 5;
        EXPECT_EQ(messageOf<KeyedTextFileError>([&] { store.save(); }), expected);
        EXPECT_EQ(readBytes(path), original);

        failing.failWritesAfterBytes = -1;
        failing.failRenames = true;
        EXPECT_EQ(messageOf<KeyedTextFileError>([&] { store.release(); }), expected);
        EXPECT_EQ(store.lines(), nullptr);
        EXPECT_EQ(readBytes(path), original);
        failing.failRenames = false;
    }
    EXPECT_EQ(failing.renameCalls, 1); // the released store wrote nothing more on destruction
    EXPECT_EQ(readBytes(path), original);
    EXPECT_EQ(namesIn(dir.path()).size(), 1u);

    {
        KeyedTextFile store(path);
        store.writeStringInstance(0, "Main", "A", "3");
        store.release();
    }
    EXPECT_EQ(readBytes(path), "[Main]\r\nA=3\r\n");
}
