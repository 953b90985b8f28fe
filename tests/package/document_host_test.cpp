// The package operations that hand host strings across: an entry read as a
// binary host string, and the list of pictures waiting for the next save.
#include <filesystem>
#include <memory>

#include <gtest/gtest.h>

#include "package/blank_package.h"
#include "package/content_types.h"
#include "package/document.h"
#include "document/document_data.h"
#include "package/relationships.h"
#include "package/temporary_path.h"
#include "package_files.h"
#include "plugin_test.h"

namespace {

const char kPictureLiteral[] = "\x89PNG\r\n\x1a\n\0\0\0\rIHDR binary";
const std::string kPictureBytes(kPictureLiteral, sizeof kPictureLiteral - 1);

class PackageHostTest : public LinkedTest {
protected:
    // A document over the blank package plus the given extra entries,
    // owned by a fresh DocumentData as the host class keeps it.
    void OpenDocument(const std::string& name, const package_files::Entries& extra = {}) {
        package_files::Entries entries = package_files::BlankEntries();
        for (const auto& entry : extra) package_files::SetEntry(entries, entry.first, entry.second);
        package_files::WriteZip(path(name), entries);
        DocumentData_Init(&data_);
        data_.wordDocument = new Word::Document(path(name));
        ASSERT_EQ(data_.wordDocument->Open(), Word::success);
    }
    void TearDown() override {
        DocumentData_Destroy(&data_);
        LinkedTest::TearDown();
    }
    Word::Document& doc() { return *data_.wordDocument; }

    DocumentData data_{};
};

bool SaveThroughTemporaryFile(DocumentData& data) {
    std::string temporary;
    return Document_NewTemporaryPath(temporary) &&
           data.wordDocument->Save(temporary.c_str(), &data.deletedFiles, &data.pendingImages);
}

}  // namespace

TEST_F(PackageHostTest, GetFileDataReadsTheEntryOnDisk) {
    OpenDocument("with-picture.zip", {{"word/media/image1.png", kPictureBytes}});

    REALstring data = reinterpret_cast<REALstring>(1);
    ASSERT_EQ(doc().GetFileData("word/media/image1.png", &data), Word::success);
    vexrt::String picture(data, /*adopt=*/true);
    EXPECT_EQ(picture.bytes(), kPictureBytes);

    EXPECT_EQ(doc().GetFileData("word/media/image2.png", &data), Word::entry_missing);
    EXPECT_EQ(data, nullptr);
    RBInteger number = 0;
    EXPECT_EQ(doc().GetErrorDescriptionAndCode(Word::entry_missing, number),
              "Could not open internal file in document: word/media/image2.png");
    EXPECT_EQ(number, -3);

    // The package as opened is read, whatever became of the file since.
    std::filesystem::remove(path("with-picture.zip"));
    ASSERT_EQ(doc().GetFileData("word/media/image1.png", &data), Word::success);
    EXPECT_EQ(vexrt::String(data, /*adopt=*/true).bytes(), kPictureBytes);
}

TEST_F(PackageHostTest, PendingPicturesAreListedInOrderAndLocked) {
    OpenDocument("pending.zip");
    size_t stringsBefore = rt().liveStrings();
    {
        vexrt::String first = rt().makeString("first picture", kREALTextEncodingNone);
        vexrt::String second = rt().makeString("second picture", kREALTextEncodingNone);
        AddToImageToBeAdded(&data_, "rId6", "image1.png", first.get());
        AddToImageToBeAdded(&data_, "rId7", "image2.png", second.get());
    }
    // The list keeps both strings alive on its own locks.
    EXPECT_EQ(rt().liveStrings(), stringsBefore + 2);
    ASSERT_NE(data_.pendingImages.head, nullptr);
    EXPECT_EQ(data_.pendingImages.head->relId, "rId6");
    EXPECT_EQ(data_.pendingImages.head->fileName, "image1.png");
    EXPECT_EQ(data_.pendingImages.tail->relId, "rId7");

    {
        vexrt::String found(GetDataFromImageToBeAdded(&data_, "rId7"), /*adopt=*/true);
        EXPECT_EQ(found.bytes(), "second picture");
        // The caller's lock outlives the record.
        EXPECT_TRUE(RemoveIfHasImageToBeAdded(&data_, "rId7"));
        EXPECT_EQ(found.bytes(), "second picture");
    }
    EXPECT_EQ(GetDataFromImageToBeAdded(&data_, "rId7"), nullptr);
    EXPECT_EQ(GetDataFromImageToBeAdded(&data_, "rId"), nullptr);
    EXPECT_FALSE(RemoveIfHasImageToBeAdded(&data_, "rId7"));
    EXPECT_EQ(data_.pendingImages.tail, data_.pendingImages.head);
    EXPECT_EQ(rt().liveStrings(), stringsBefore + 1);

    // Removing the head keeps the tail right for the next append.
    EXPECT_TRUE(RemoveIfHasImageToBeAdded(&data_, "rId6"));
    EXPECT_EQ(data_.pendingImages.head, nullptr);
    EXPECT_EQ(data_.pendingImages.tail, nullptr);
    EXPECT_FALSE(RemoveIfHasImageToBeAdded(&data_, "rId6"));
    {
        vexrt::String third = rt().makeString("third", kREALTextEncodingNone);
        AddToImageToBeAdded(&data_, "rId8", "image3.png", third.get());
    }
    EXPECT_EQ(data_.pendingImages.head, data_.pendingImages.tail);
    DeleteImagesMarkedToBeAdded(&data_);
    EXPECT_EQ(data_.pendingImages.head, nullptr);
    EXPECT_EQ(rt().liveStrings(), stringsBefore);
}

TEST_F(PackageHostTest, SaveWritesOnlyThePicturesStillPending) {
    OpenDocument("pictures.zip", {{"word/media/image1.png", "old picture"}});
    for (const char* name : {"image2.png", "image3.png"}) {
        std::string id = Rel_GetNextFreeID(doc());
        Rel_AddImageID(doc(), id.c_str(), name);
        vexrt::String bytes = rt().makeString(std::string("bytes of ") + name, kREALTextEncodingNone);
        AddToImageToBeAdded(&data_, id, name, bytes.get());
    }
    RegisterExtension(doc(), "png", "image/png");
    ASSERT_TRUE(RemoveIfHasImageToBeAdded(&data_, "rId6"));
    Rel_DeleteID(doc(), "rId6");
    data_.deletedFiles.push_back("word/media/image1.png");

    // SaveAs writes the pictures to the copy and leaves the document's file
    // without them.
    ASSERT_TRUE(doc().SaveAs(path("copy.zip").c_str(), &data_.deletedFiles, &data_.pendingImages));
    package_files::Entries copy = package_files::ReadZip(path("copy.zip"));
    EXPECT_EQ(package_files::Names(copy)[5], "word/media/image3.png");
    EXPECT_EQ(package_files::Entry(copy, "word/media/image3.png"), "bytes of image3.png");
    for (const std::string& name : package_files::Names(copy)) {
        EXPECT_NE(name, "word/media/image1.png");
        EXPECT_NE(name, "word/media/image2.png");
    }
    EXPECT_EQ(package_files::Entry(package_files::ReadZip(path("pictures.zip")),
                                   "word/media/image1.png"),
              "old picture");

    ASSERT_TRUE(SaveThroughTemporaryFile(data_));
    std::vector<std::string> saved = package_files::Names(package_files::ReadZip(path("pictures.zip")));
    EXPECT_EQ(saved, package_files::Names(copy));
}
