#include "platform/IniText.h"

#include <gtest/gtest.h>

#include <string>

using tickforge::FindIniValue;
using tickforge::ParseIniFlag;
using tickforge::ProfileValueMaxLength;
using tickforge::SetIniValue;

namespace {

TEST(IniTextFind, MatchesSectionAndKeyWithoutRegardToCase)
{
    const std::string content = "[generator]\nSEED=3000\n";
    EXPECT_EQ(FindIniValue(content, "Generator", "Seed"), "3000");
    EXPECT_EQ(FindIniValue(content, "GENERATOR", "seed"), "3000");
}

TEST(IniTextFind, MissingSectionOrKeyGivesNothing)
{
    const std::string content = "[Other]\nSeed=1\n[Generator]\nLength=180\n";
    EXPECT_FALSE(FindIniValue(content, "Generator", "Seed"));
    EXPECT_FALSE(FindIniValue(content, "Missing", "Length"));
    EXPECT_FALSE(FindIniValue("", "Generator", "Seed"));
}

TEST(IniTextFind, KeyOfAnotherSectionIsNotSeen)
{
    const std::string content = "[Generator]\nLength=180\n[Other]\nSeed=1\n";
    EXPECT_FALSE(FindIniValue(content, "Generator", "Seed"));
    EXPECT_EQ(FindIniValue(content, "Other", "Seed"), "1");
}

TEST(IniTextFind, FirstSectionAndFirstKeyCount)
{
    const std::string content = "[Generator]\nSeed=1\nSeed=2\n[Generator]\nSeed=3\nLength=9\n";
    EXPECT_EQ(FindIniValue(content, "Generator", "Seed"), "1");
    EXPECT_FALSE(FindIniValue(content, "Generator", "Length"));
}

TEST(IniTextFind, BlanksAroundNamesAndValuesAreIgnored)
{
    const std::string content = "  [ Generator ]  \n\t Seed \t=  3000 \t\n";
    EXPECT_EQ(FindIniValue(content, "Generator", "Seed"), "3000");
}

TEST(IniTextFind, EmptyValueIsPresentAndEmpty)
{
    EXPECT_EQ(FindIniValue("[Generator]\nSeed=\n", "Generator", "Seed"), "");
    EXPECT_EQ(FindIniValue("[Generator]\nSeed=   \n", "Generator", "Seed"), "");
}

TEST(IniTextFind, OnlyTheFirstEqualsSignSeparates)
{
    EXPECT_EQ(FindIniValue("[Generator]\nSecurityName=a=b\n", "Generator", "SecurityName"), "a=b");
}

TEST(IniTextFind, MatchingOuterQuotesAreRemovedOnce)
{
    EXPECT_EQ(FindIniValue("[G]\nA=\" x \"\n", "G", "A"), " x ");
    EXPECT_EQ(FindIniValue("[G]\nA='y'\n", "G", "A"), "y");
    EXPECT_EQ(FindIniValue("[G]\nA=\"\"z\"\"\n", "G", "A"), "\"z\"");
    // Unmatched or lone quotes stay.
    EXPECT_EQ(FindIniValue("[G]\nA=\"z'\n", "G", "A"), "\"z'");
    EXPECT_EQ(FindIniValue("[G]\nA=\"\n", "G", "A"), "\"");
}

TEST(IniTextFind, CrLfAndLfLinesMayBeMixed)
{
    const std::string content = "[Generator]\r\nSeed=1\nLength=2\r\nBias=3";
    EXPECT_EQ(FindIniValue(content, "Generator", "Seed"), "1");
    EXPECT_EQ(FindIniValue(content, "Generator", "Length"), "2");
    EXPECT_EQ(FindIniValue(content, "Generator", "Bias"), "3");
}

TEST(IniTextFind, ACarriageReturnEndingTheLastLineIsALineEnd)
{
    EXPECT_EQ(FindIniValue("[Generator]\r\nLength=90\r", "Generator", "Length"), "90");
}

TEST(IniTextFind, AByteOrderMarkBeforeTheFirstHeaderIsSkipped)
{
    const std::string content = "\xEF\xBB\xBF[Generator]\r\nSeed=7\r\n";
    EXPECT_EQ(FindIniValue(content, "Generator", "Seed"), "7");
    EXPECT_EQ(SetIniValue(content, "Generator", "Seed", "8"), "\xEF\xBB\xBF[Generator]\nSeed=8\n");
}

TEST(IniTextFind, CommentLinesAreNoKeys)
{
    const std::string content = "[Generator]\n;Seed=1\n# Seed=2\nSeed=3\n";
    EXPECT_EQ(FindIniValue(content, "Generator", "Seed"), "3");
    EXPECT_FALSE(FindIniValue("[Generator]\n;Length=1\n", "Generator", "Length"));
}

TEST(IniTextFind, ValueIsCutTo2047Characters)
{
    ASSERT_EQ(ProfileValueMaxLength, 2047u);
    const std::string longValue(3000, 'q');
    const auto value = FindIniValue("[G]\nA=" + longValue + "\n", "G", "A");
    ASSERT_TRUE(value);
    EXPECT_EQ(*value, std::string(2047, 'q'));
    EXPECT_EQ(FindIniValue("[G]\nA=" + std::string(2047, 'r') + "\n", "G", "A"), std::string(2047, 'r'));
}

TEST(IniTextFind, BinaryGarbageIsSurvivedAndANulEndsAValue)
{
    std::string garbage;
    for (int i = 0; i < 4096; ++i)
        garbage += static_cast<char>((i * 37 + 11) % 256);
    const std::string content = garbage + "\n[Generator]\nSeed=12" + std::string(1, '\0') + "34\n" + garbage;
    EXPECT_EQ(FindIniValue(content, "Generator", "Seed"), "12");
    EXPECT_FALSE(FindIniValue(garbage, "Generator", "Seed"));
}

TEST(IniTextFind, HeaderWithoutClosingBracketIsNoSection)
{
    EXPECT_FALSE(FindIniValue("[Generator\nSeed=1\n", "Generator", "Seed"));
}

TEST(IniTextSet, NewFileHoldsHeaderAndKeysInTheOrderWritten)
{
    std::string content = SetIniValue("", "Generator", "Seed", "3000");
    content = SetIniValue(content, "Generator", "RandomSeed", "0");
    content = SetIniValue(content, "Generator", "SeedMin", "2000");
    EXPECT_EQ(content, "[Generator]\nSeed=3000\nRandomSeed=0\nSeedMin=2000\n");
}

TEST(IniTextSet, ExistingKeyIsReplacedWhereItStands)
{
    const std::string content = "; my settings\n[Generator]\nseed = 1\nLength=180\n\n[Other]\nX=1\n";
    EXPECT_EQ(SetIniValue(content, "GENERATOR", "Seed", "42"),
              "; my settings\n[Generator]\nSeed=42\nLength=180\n\n[Other]\nX=1\n");
}

TEST(IniTextSet, NewKeyGoesAfterTheLastEntryOfItsSection)
{
    const std::string content = "[Generator]\nSeed=1\nUnknown=7\n\n; about other\n[Other]\nX=1\n";
    EXPECT_EQ(SetIniValue(content, "Generator", "Length", "180"),
              "[Generator]\nSeed=1\nUnknown=7\nLength=180\n\n; about other\n[Other]\nX=1\n");
    EXPECT_EQ(SetIniValue("[Generator]\n[Other]\nX=1\n", "Generator", "Seed", "5"),
              "[Generator]\nSeed=5\n[Other]\nX=1\n");
}

TEST(IniTextSet, MissingSectionIsAppendedAtTheEnd)
{
    EXPECT_EQ(SetIniValue("[Other]\nX=1\n", "Generator", "Seed", "5"), "[Other]\nX=1\n\n[Generator]\nSeed=5\n");
    // A last line without its line end gets one.
    EXPECT_EQ(SetIniValue("[Other]\nX=1", "Generator", "Seed", "5"), "[Other]\nX=1\n\n[Generator]\nSeed=5\n");
    EXPECT_EQ(SetIniValue("[Other]\nX=1\n\n", "Generator", "Seed", "5"), "[Other]\nX=1\n\n[Generator]\nSeed=5\n");
}

TEST(IniTextSet, OtherLinesAreKeptByteForByteApartFromLineEnds)
{
    const std::string content = "  odd line without equals\r\n[Generator]\r\n  Bias =  5  \r\n#c\r\n[x\r\n";
    EXPECT_EQ(SetIniValue(content, "Generator", "Seed", "1"),
              "  odd line without equals\n[Generator]\n  Bias =  5  \n#c\n[x\nSeed=1\n");
}

TEST(IniTextSet, WrittenValuesReadBackUnchanged)
{
    for (const std::string value : {"", " 3000", "3000 ", "\t", "\"quoted\"", "'q'", "\"", "a=b", "; not a comment",
                                    "[x]", "1,5", "\xE9t\xE9"}) {
        const std::string content = SetIniValue("[Generator]\nSeed=old\n", "Generator", "Seed", value);
        EXPECT_EQ(FindIniValue(content, "Generator", "Seed"), value) << "value [" << value << "]";
    }
}

TEST(IniTextSet, LineBreaksInAValueBecomeBlanks)
{
    const std::string content = SetIniValue("", "Generator", "Seed", "a\r\nb\nc");
    EXPECT_EQ(content, "[Generator]\nSeed=a  b c\n");
}

TEST(IniFlag, WholeNumbersDecimalOrHexadecimal)
{
    EXPECT_EQ(ParseIniFlag("1"), true);
    EXPECT_EQ(ParseIniFlag("0"), false);
    EXPECT_EQ(ParseIniFlag("2"), true);
    EXPECT_EQ(ParseIniFlag("-1"), true);
    EXPECT_EQ(ParseIniFlag("+0"), false);
    EXPECT_EQ(ParseIniFlag("0x10"), true);
    EXPECT_EQ(ParseIniFlag("0X0"), false);
    EXPECT_EQ(ParseIniFlag("0xfF"), true);
    EXPECT_EQ(ParseIniFlag("000"), false);
    EXPECT_EQ(ParseIniFlag("99999999999999999999999"), true);
}

TEST(IniFlag, EmptyOrMalformedIsNothing)
{
    for (const char* text : {"", "yes", "true", "1a", "0x", "-", "0xg", "1.0", " 1", "1 ", "--1"})
        EXPECT_FALSE(ParseIniFlag(text)) << "text [" << text << "]";
}

}  // namespace
