#include <gtest/gtest.h>

#include "filetrain/file_train.h"
#include "support/temp_folder.h"
#include "train_bytes.h"

using namespace olve;
using namespace train_test;

namespace {

struct TListing {
    bool Ok = false;
    TTrainFiles Files;
    std::string Header;
};

void List(const std::string& bytes, TListing& listing)
{
    TTempFolder dir;
    WriteBytes(dir / "p.qzw", bytes);
    listing.Ok = ReadFileTrain(dir / "p.qzw", listing.Files, listing.Header);
}

}  // namespace

TEST(FileTrainListing, EntriesComeInFileOrderWithTheirSizesAndDataOffsets)
{
    const std::string text(300, 'a');
    const std::string bytes = TrainBytes("Title", {{"a.qzc", text, true}, {"pic\\b.jpg", "JPEGDATA"}});
    TListing listing;
    List(bytes, listing);
    ASSERT_TRUE(listing.Ok);
    EXPECT_EQ(listing.Header, "Title");
    ASSERT_EQ(listing.Files.Count(), 2);
    const TTrainFileItem& a = *listing.Files.Items(0);
    const TTrainFileItem& b = *listing.Files.Items(1);
    EXPECT_EQ(a.Name, "a.qzc");
    EXPECT_EQ(a.Size, 300);
    EXPECT_EQ(a.StoredSize, static_cast<std::int32_t>(Coded(text).size()));
    EXPECT_EQ(a.Offset, 4 + 4 + 5 + 16 + 5 + 4);
    // A plain entry is listed with its unpacked size as the stored size.
    EXPECT_EQ(b.Name, "pic\\b.jpg");
    EXPECT_EQ(b.StoredSize, 8);
    EXPECT_EQ(bytes.substr(static_cast<std::size_t>(b.Offset), 8), "JPEGDATA");
    EXPECT_EQ(listing.Files.Items(2), nullptr);
    EXPECT_EQ(listing.Files.Items(-1), nullptr);
}

TEST(FileTrainListing, AMagicWithAnEmptyHeaderAndNothingElseIsAnEmptyTrain)
{
    TListing listing;
    List("0101" + Int32(0), listing);
    EXPECT_TRUE(listing.Ok);
    EXPECT_EQ(listing.Files.Count(), 0);
    EXPECT_EQ(listing.Header, "");
}

TEST(FileTrainListing, AMissingMagicOrAHeaderThatDoesNotFitFails)
{
    for (const std::string& bytes : {std::string("010"), std::string("PK\x03\x04") + Int32(0),
                                     "0101" + Int32(10) + "short", "0101" + Int32(-1), std::string("0101\x01")}) {
        TListing listing;
        List(bytes, listing);
        EXPECT_FALSE(listing.Ok) << bytes.size();
    }
    TTrainFiles files;
    std::string header;
    EXPECT_FALSE(ReadFileTrain("/nonexistent/p.qzw", files, header));
    TTempFolder dir;
    EXPECT_FALSE(ReadFileTrain(dir.Path().string(), files, header));
}

TEST(FileTrainListing, AWrongTagFailsWithTheEntriesBeforeIt)
{
    TListing listing;
    List(TrainBytes("", {{"a.txt", "1"}}) + "OLVE" + Int32(0), listing);
    EXPECT_FALSE(listing.Ok);
    ASSERT_EQ(listing.Files.Count(), 1);
    EXPECT_EQ(listing.Files.Items(0)->Name, "a.txt");
}

TEST(FileTrainListing, TruncationAnywhereInAnEntryEndsTheListQuietly)
{
    const std::string whole = TrainBytes("", {{"a.txt", "first"}, {"b.txt", "second entry"}});
    const std::size_t secondStart = whole.size() - EntryBytes({"b.txt", "second entry"}).size();
    // Every cut inside the second entry: a partial tag, date, sizes, name or data.
    for (std::size_t cut = secondStart + 1; cut < whole.size(); ++cut) {
        TListing listing;
        List(whole.substr(0, cut), listing);
        EXPECT_TRUE(listing.Ok) << cut;
        ASSERT_EQ(listing.Files.Count(), 1) << cut;
    }
    TListing listing;
    List(whole, listing);
    EXPECT_EQ(listing.Files.Count(), 2);
}

TEST(FileTrainListing, NegativeOrHugeSizesAreTruncationNotCrashes)
{
    const std::string good = EntryBytes({"a.txt", "ok"});
    const std::string date = Int32(0);
    const std::vector<std::string> hostile = {
        "olve" + date + Int32(-5) + Int32(1) + "x" + Int32(0),                       // negative size
        "olve" + date + Int32(5) + Int32(-1) + "x" + Int32(0),                       // negative name length
        "olve" + date + Int32(5) + Int32(0x7FFFFFFF) + "x",                          // name past the end
        "olve" + date + Int32(5) + Int32(1) + "x" + Int32(-3) + "abc",               // negative stored size
        "olve" + date + Int32(0x7FFFFFFF) + Int32(1) + "x" + Int32(0) + "abc",       // data past the end
        "olve" + date + Int32(5) + Int32(1) + "x" + Int32(0x7FFFFFFF) + "abc",       // coded data past the end
    };
    for (const std::string& entry : hostile) {
        TListing listing;
        List("0101" + Int32(0) + good + entry, listing);
        EXPECT_TRUE(listing.Ok);
        EXPECT_EQ(listing.Files.Count(), 1);
    }
}

TEST(FileTrainListing, NamesComeAsLocalPathsWithTheirSizes)
{
    TTempFolder dir;
    // "表" is 0x95 0x5C: its second byte is a backslash that must not split the name.
    WriteBytes(dir / "p.qzw", TrainBytes("H", {{"\x95\x5C\\a.qzc", "12345"}, {"..\\evil.qzc", "1"}, {"b", ""}}));
    std::vector<TTrainName> names{{"stale", 1}};
    std::string header;
    ASSERT_TRUE(ReadFileTrainNames(dir / "p.qzw", names, header));
    EXPECT_EQ(header, "H");
    ASSERT_EQ(names.size(), 3u);
    EXPECT_EQ(names[0].Name, "表/a.qzc");
    EXPECT_EQ(names[0].Size, 5);
    // A name that installing refuses is never taken for a file.
    EXPECT_EQ(names[1].Name, "");
    EXPECT_EQ(names[2].Name, "b");
    EXPECT_EQ(names[2].Size, 0);
}

TEST(FileTrainListing, NamesReadBeforeAFailureAreGivenAllTheSame)
{
    TTempFolder dir;
    WriteBytes(dir / "p.qzw", TrainBytes("", {{"a.qzc", "1"}}) + "junk");
    std::vector<TTrainName> names;
    std::string header;
    EXPECT_FALSE(ReadFileTrainNames(dir / "p.qzw", names, header));
    ASSERT_EQ(names.size(), 1u);
    EXPECT_EQ(names[0].Name, "a.qzc");
}
