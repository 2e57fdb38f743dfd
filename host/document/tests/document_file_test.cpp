// The "nvx" file: exact bytes of fixture documents, round trips, hostile
// files that load nothing, unknown classes, references by file index, safe
// saving and the add-in route for other extensions.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>

#include <filesystem>

#include "host/document/document_file.h"
#include "host/document/tests/document_test_support.h"
#include "objectmodel/id_group_object.h"
#include "objectmodel/model_object.h"

namespace {

// Saves the document into folder/name and returns the file's bytes.
std::string SavedBytes(CNuvexDoc& document, const TempFolder& folder, const std::string& name = "out.nvx")
{
    const std::string path = folder.File(name);
    EXPECT_TRUE(document.OnSaveDocument(path.c_str()));
    return ReadFileBytes(path);
}

TestObject* AddTestObject(CNuvexDoc& document, const std::string& bytes,
                          std::initializer_list<ICollectionBase*> children = {})
{
    auto* object = new TestObject(bytes);
    document.AddObject(MakeHolder(static_cast<IObjectBase*>(object), children));
    return object;
}

struct FixtureCase {
    const char* name;
    std::function<void(CNuvexDoc&)> build;
    std::string expected;
};

// A model object with one group, so that references have a target.
CModelObject* AddModelWithGroup(CNuvexDoc& document)
{
    auto* model = new CModelObject();
    model->AddChild(new CIdGroupObject(model->OwnerLink()));
    document.AddObject(MakeHolder(static_cast<IModelObject*>(model)));
    return model;
}

std::string ModelBytes(CModelObject* model)
{
    uint32_t size = 0;
    model->GetSize(&size);
    std::string bytes(size, '\0');
    model->Save(reinterpret_cast<BYTE*>(bytes.data()));
    return bytes;
}

std::string TestRecord(const std::string& data, int32_t children = 0, const std::string& childBytes = {})
{
    return Record(kTestAddinClsid, kTestObjectIid, data) + I32(children) + childBytes;
}

std::string ChildRecord(const std::string& data) { return Record(kTestAddinClsid, kTestChildIid, data); }

std::string GroupReference(int32_t fileIndex, int32_t position)
{
    return Record(CLSID_HostObjectFactory, IID_IIdGroup, I32(fileIndex) + I32(position));
}

TEST(DocumentFileTest, FixtureDocumentsAreWrittenByteForByte)
{
    const FixtureCase kCases[] = {
        {"empty_document", [](CNuvexDoc&) {}, I32(0)},
        {"one_object", [](CNuvexDoc& d) { AddTestObject(d, "abc"); }, I32(1) + TestRecord("abc")},
        {"object_with_two_children",
         [](CNuvexDoc& d) { AddTestObject(d, "x", {new TestChild("12"), new TestChild("")}); },
         I32(1) + TestRecord("x", 2, ChildRecord("12") + ChildRecord(""))},
        {"zero_size_object_is_left_out",
         [](CNuvexDoc& d) {
             AddTestObject(d, "");
             AddTestObject(d, "k");
         },
         I32(1) + TestRecord("k")},
        {"data_with_zero_bytes", [](CNuvexDoc& d) { AddTestObject(d, std::string("\0\1\0", 3)); },
         I32(1) + TestRecord(std::string("\0\1\0", 3))},
    };
    for (const FixtureCase& c : kCases) {
        SCOPED_TRACE(c.name);
        DocumentFixture fixture;
        TempFolder folder;
        c.build(fixture.document);
        EXPECT_EQ(SavedBytes(fixture.document, folder), c.expected);
        EXPECT_FALSE(fixture.document.IsModified());
        EXPECT_TRUE(fixture.document.HasFile());
    }
}

TEST(DocumentFileTest, GroupReferencesStoreTheFileIndexOfTheirModel)
{
    DocumentFixture fixture;
    TempFolder folder;
    // The first object reports size 0 and is not written, so the model
    // object at list position 1 is written as file index 0.
    AddTestObject(fixture.document, "");
    CModelObject* model = AddModelWithGroup(fixture.document);
    IIdGroup* group = nullptr;
    model->GetChild(0, &group);
    AddTestObject(fixture.document, "m", {group});

    const std::string expected = I32(2) + Record(CLSID_HostObjectFactory, IID_IModelObject, ModelBytes(model)) +
                                 I32(0) + TestRecord("m", 1, GroupReference(0, 0));
    EXPECT_EQ(SavedBytes(fixture.document, folder), expected);
}

TEST(DocumentFileTest, EveryFixtureLoadsBackToAnEqualDocument)
{
    DocumentFixture source;
    TempFolder folder;
    AddTestObject(source.document, "first", {new TestChild("c1")});
    CModelObject* model = AddModelWithGroup(source.document);
    IIdGroup* group = nullptr;
    model->GetChild(0, &group);
    AddTestObject(source.document, "second", {group, new TestChild("c2")});
    const std::string saved = SavedBytes(source.document, folder);

    DocumentFixture loaded;
    ASSERT_TRUE(loaded.document.OnOpenDocument(folder.File("out.nvx").c_str()));
    EXPECT_EQ(loaded.document.GetObjectCount(), 3u);
    EXPECT_TRUE(loaded.document.HasFile());
    EXPECT_FALSE(loaded.document.IsModified());
    EXPECT_EQ(loaded.document.GetUndoStepCount(), 0u);
    // The reference was replaced by the loaded model's own group.
    ICollectionBase* child = nullptr;
    ASSERT_EQ(loaded.document.GetObjectAt(2)->GetChild(0, &child), S_OK);
    IUnknown* loadedModel = nullptr;
    loaded.document.GetObjectAt(1)->GetObject(&loadedModel);
    IIdGroup* shared = nullptr;
    static_cast<IModelObject*>(static_cast<IObjectBase*>(loadedModel))->GetChild(0, &shared);
    EXPECT_EQ(static_cast<IUnknown*>(child), static_cast<IUnknown*>(shared));
    // And the whole document writes the same bytes again.
    EXPECT_EQ(SavedBytes(loaded.document, folder, "again.nvx"), saved);
}

TEST(DocumentFileTest, ObjectsAreToldOfTheDocumentWhileLoadingAndOfTheEndAfterwards)
{
    TempFolder folder;
    WriteFileBytes(folder.File("a.nvx"), I32(1) + TestRecord("q"));
    DocumentFixture fixture;
    ASSERT_TRUE(fixture.document.OnOpenDocument(folder.File("a.nvx").c_str()));
    IUnknown* held = nullptr;
    fixture.document.GetObjectAt(0)->GetObject(&held);
    auto* object = static_cast<TestObject*>(static_cast<IObjectBase*>(held));
    EXPECT_EQ(object->Bytes(), "q");
    EXPECT_EQ(object->hostCalls, (std::vector<bool>{true, false}));
}

TEST(DocumentFileTest, ZeroLengthFileOpensAsAnEmptyDocument)
{
    TempFolder folder;
    WriteFileBytes(folder.File("empty.nvx"), "");
    DocumentFixture fixture;
    EXPECT_TRUE(fixture.document.OnOpenDocument(folder.File("empty.nvx").c_str()));
    EXPECT_EQ(fixture.document.GetObjectCount(), 0u);
}

TEST(DocumentFileTest, UnknownClassesAreSkippedWithTheirChildrenAndReferencesKeepTheirFileIndex)
{
    // File index 0: an object of a class nobody makes, with a child;
    // 1: a model object; 2: an object whose group reference names index 1.
    CModelObject model;
    model.AddChild(new CIdGroupObject(model.OwnerLink()));
    model.AddChild(new CIdGroupObject(model.OwnerLink()));
    const std::string file = I32(3) + Record(kUnknownClsid, kTestObjectIid, "zz") + I32(1) + ChildRecord("c") +
                             Record(CLSID_HostObjectFactory, IID_IModelObject, ModelBytes(&model)) + I32(0) +
                             TestRecord("t", 1, GroupReference(1, 1));
    TempFolder folder;
    WriteFileBytes(folder.File("skip.nvx"), file);

    DocumentFixture fixture;
    ASSERT_TRUE(fixture.document.OnOpenDocument(folder.File("skip.nvx").c_str()));
    ASSERT_EQ(fixture.document.GetObjectCount(), 2u);
    IUnknown* loadedModel = nullptr;
    fixture.document.GetObjectAt(0)->GetObject(&loadedModel);
    IIdGroup* second = nullptr;
    static_cast<IModelObject*>(static_cast<IObjectBase*>(loadedModel))->GetChild(1, &second);
    ICollectionBase* child = nullptr;
    ASSERT_EQ(fixture.document.GetObjectAt(1)->GetChild(0, &child), S_OK);
    EXPECT_EQ(static_cast<IUnknown*>(child), static_cast<IUnknown*>(second));
}

TEST(DocumentFileTest, AReferenceToASkippedRecordLoadsAsNoGroup)
{
    const std::string file = I32(2) + Record(kUnknownClsid, kTestObjectIid, "zz") + I32(0) +
                             TestRecord("t", 2, GroupReference(0, 0) + ChildRecord("kept"));
    TempFolder folder;
    WriteFileBytes(folder.File("ref.nvx"), file);
    DocumentFixture fixture;
    ASSERT_TRUE(fixture.document.OnOpenDocument(folder.File("ref.nvx").c_str()));
    ASSERT_EQ(fixture.document.GetObjectCount(), 1u);
    int32_t count = 0;
    fixture.document.GetObjectAt(0)->GetChildCount(&count);
    ASSERT_EQ(count, 1);
    ICollectionBase* child = nullptr;
    fixture.document.GetObjectAt(0)->GetChild(0, &child);
    EXPECT_EQ(static_cast<TestChild*>(child)->Bytes(), "kept");
}

TEST(DocumentFileTest, AReferenceBeyondTheLastRecordLoadsAsNoGroup)
{
    const std::string file = I32(1) + TestRecord("t", 3, GroupReference(1, 0) + GroupReference(0x7fffffff, 0) +
                                                          ChildRecord("kept"));
    DocumentFixture fixture;
    ASSERT_TRUE(fixture.document.LoadDocumentBytes(reinterpret_cast<const BYTE*>(file.data()), file.size()));
    ASSERT_EQ(fixture.document.GetObjectCount(), 1u);
    int32_t count = 0;
    fixture.document.GetObjectAt(0)->GetChildCount(&count);
    ASSERT_EQ(count, 1);
    ICollectionBase* child = nullptr;
    fixture.document.GetObjectAt(0)->GetChild(0, &child);
    EXPECT_EQ(static_cast<TestChild*>(child)->Bytes(), "kept");
}

TEST(DocumentFileTest, AnAddinThatIsNotLoadedLeavesItsObjectsOut)
{
    const std::string file = I32(2) + TestRecord("a") + Record(CLSID_HostObjectFactory, IID_IAttributeSet, "") +
                             I32(0);
    TempFolder folder;
    WriteFileBytes(folder.File("x.nvx"), file);
    DocumentFixture fixture;
    fixture.services.addinLoaded = false;
    ASSERT_TRUE(fixture.document.OnOpenDocument(folder.File("x.nvx").c_str()));
    EXPECT_EQ(fixture.document.GetObjectCount(), 0u);
}

struct HostileCase {
    const char* name;
    std::string bytes;
    DocumentFileError error;
};

TEST(DocumentFileTest, HostileFilesLoadNothingAndSayWhy)
{
    const std::string valid = I32(1) + TestRecord("abc", 1, ChildRecord("de"));
    const HostileCase kCases[] = {
        {"count_cut_short", std::string("\1\0", 2), DocumentFileError::Truncated},
        {"negative_count", I32(-1), DocumentFileError::ImpossibleCount},
        {"huge_count", I32(0x7fffffff) + TestRecord("a"), DocumentFileError::ImpossibleCount},
        {"count_beyond_records", I32(2) + TestRecord("a"), DocumentFileError::ImpossibleCount},
        {"negative_size", I32(1) + Guid(kTestAddinClsid) + Guid(kTestObjectIid) + I32(-4) + I32(0),
         DocumentFileError::ImpossibleCount},
        {"size_past_the_end", I32(1) + Guid(kTestAddinClsid) + Guid(kTestObjectIid) + I32(1000) + I32(0),
         DocumentFileError::Truncated},
        {"huge_child_count", I32(1) + TestRecord("a", 0x40000000), DocumentFileError::ImpossibleCount},
        {"negative_child_count", I32(1) + TestRecord("a", -2), DocumentFileError::ImpossibleCount},
        {"child_size_past_the_end",
         I32(1) + TestRecord("a", 1) + Guid(kTestAddinClsid) + Guid(kTestChildIid) + I32(5) + "ab",
         DocumentFileError::Truncated},
        {"second_record_cut",
         I32(2) + TestRecord("a") + TestRecord("bbbbbbbbbbbb").substr(0, 45),
         DocumentFileError::Truncated},
    };
    for (const HostileCase& c : kCases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        WriteFileBytes(folder.File("bad.nvx"), c.bytes);
        DocumentFixture fixture;
        AddTestObject(fixture.document, "kept");
        fixture.document.SetModifiedFlag(TRUE);
        EXPECT_FALSE(fixture.document.OnOpenDocument(folder.File("bad.nvx").c_str()));
        EXPECT_EQ(fixture.document.LastFileError(), c.error);
        // Nothing was loaded and nothing was dropped.
        EXPECT_EQ(fixture.document.GetObjectCount(), 1u);
        EXPECT_TRUE(fixture.document.IsModified());
        EXPECT_FALSE(fixture.document.HasFile());
    }
    // A valid file cut anywhere inside its records is refused.
    for (size_t length = 1; length < valid.size(); ++length) {
        SCOPED_TRACE(length);
        ParsedDocumentFile parsed;
        const DocumentFileCheck check =
            ParseDocumentFile(reinterpret_cast<const BYTE*>(valid.data()), length, parsed);
        EXPECT_NE(check.error, DocumentFileError::None);
        EXPECT_EQ(parsed.objectCount, 0u);
    }
}

// A file open for reading for the test's lifetime.
class OpenFile {
public:
    explicit OpenFile(const std::string& path) : m_fd(::open(path.c_str(), O_RDONLY)) {}
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;
    ~OpenFile()
    {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    int Descriptor() const { return m_fd; }

private:
    int m_fd;
};

// A file with skipped records, children, a group reference by file index
// and data larger than the smaller blocks.
std::string MixedFile()
{
    CModelObject model;
    model.AddChild(new CIdGroupObject(model.OwnerLink()));
    model.AddChild(new CIdGroupObject(model.OwnerLink()));
    return I32(5) + Record(kUnknownClsid, kTestObjectIid, "zz") + I32(2) + ChildRecord("c") + ChildRecord("d") +
           Record(CLSID_HostObjectFactory, IID_IModelObject, ModelBytes(&model)) + I32(0) +
           TestRecord(std::string(300, 'x'), 2, GroupReference(1, 1) + ChildRecord(std::string(200, 'y'))) +
           TestRecord("", 1, Record(kUnknownClsid, kTestChildIid, "lost")) + TestRecord("last");
}

TEST(DocumentFileTest, ReadingInBlocksLoadsWhatReadingAtOnceLoads)
{
    const std::string file = MixedFile();
    TempFolder folder;
    WriteFileBytes(folder.File("mixed.nvx"), file);
    DocumentFixture atOnce;
    ASSERT_TRUE(atOnce.document.LoadDocumentBytes(reinterpret_cast<const BYTE*>(file.data()), file.size()));
    ASSERT_EQ(atOnce.document.GetObjectCount(), 4u);
    const std::string expected = SavedBytes(atOnce.document, folder, "at_once.nvx");

    for (size_t blockSize : {size_t{1}, size_t{3}, size_t{36}, size_t{40}, size_t{64}, size_t{1} << 16}) {
        SCOPED_TRACE(blockSize);
        OpenFile source(folder.File("mixed.nvx"));
        DocumentByteReader reader(source.Descriptor(), file.size(), blockSize);
        DocumentFixture blocks;
        ASSERT_TRUE(blocks.document.ReadDocument(reader));
        EXPECT_EQ(SavedBytes(blocks.document, folder, "blocks.nvx"), expected);
    }
}

TEST(DocumentFileTest, AFileCutAnywhereIsRefusedAlikeInBlocksAndAtOnce)
{
    const std::string file = MixedFile();
    TempFolder folder;
    for (size_t length = 1; length < file.size(); ++length) {
        SCOPED_TRACE(length);
        ParsedDocumentFile parsed;
        const DocumentFileCheck atOnce =
            ParseDocumentFile(reinterpret_cast<const BYTE*>(file.data()), length, parsed);
        ASSERT_NE(atOnce.error, DocumentFileError::None);
        WriteFileBytes(folder.File("cut.nvx"), file.substr(0, length));
        for (size_t blockSize : {size_t{7}, size_t{64}}) {
            SCOPED_TRACE(blockSize);
            OpenFile source(folder.File("cut.nvx"));
            DocumentByteReader reader(source.Descriptor(), length, blockSize);
            const DocumentFileCheck inBlocks = CheckDocumentFile(reader, parsed);
            EXPECT_EQ(inBlocks.error, atOnce.error);
            EXPECT_EQ(inBlocks.offset, atOnce.offset);
            EXPECT_EQ(parsed.objectCount, 0u);
        }
    }
}

// An add-in object that cuts the file being read short as it loads, as
// another program writing the file at that moment would.
class CuttingObject : public TestObject {
public:
    explicit CuttingObject(std::string path) : m_path(std::move(path)) {}
    HRESULT STDMETHODCALLTYPE Load(uint32_t size, const BYTE* data) override
    {
        EXPECT_EQ(::truncate(m_path.c_str(), 0), 0);
        return TestObject::Load(size, data);
    }

private:
    std::string m_path;
};

TEST(DocumentFileTest, AFileCutWhileItIsReadLoadsNothing)
{
    const IID kCuttingIid = {0x5eed, 0, 0, {2, 2, 2, 2, 2, 2, 2, 2}};
    TempFolder folder;
    const std::string path = folder.File("moving.nvx");
    // Both records are larger than a block, so the second is read only
    // after the first object has loaded.
    const std::string big(100000, 'b');
    WriteFileBytes(path, I32(2) + Record(kTestAddinClsid, kCuttingIid, big) + I32(0) + TestRecord(big));
    DocumentFixture fixture;
    fixture.services.addinFactory.maker = [&](const IID& iid) -> IUnknown* {
        return iid == kCuttingIid ? static_cast<IObjectBase*>(new CuttingObject(path)) : nullptr;
    };
    AddTestObject(fixture.document, "kept");
    fixture.document.SetModifiedFlag(TRUE);
    EXPECT_FALSE(fixture.document.OnOpenDocument(path.c_str()));
    EXPECT_EQ(fixture.document.LastFileError(), DocumentFileError::Truncated);
    // The check had passed, so the document was already reset for the
    // file; what was loaded of it is gone again.
    EXPECT_EQ(fixture.document.GetObjectCount(), 0u);
    EXPECT_FALSE(fixture.document.HasFile());
}

TEST(DocumentFileTest, AFailedSaveLeavesThePreviousFileIntact)
{
    TempFolder folder;
    const std::string path = folder.File("keep.nvx");
    WriteFileBytes(path, "previous contents");
    DocumentFixture fixture;
    TestObject* object = AddTestObject(fixture.document, "new");
    object->failSave = true;
    fixture.document.SetModifiedFlag(TRUE);
    EXPECT_FALSE(fixture.document.OnSaveDocument(path.c_str()));
    EXPECT_EQ(fixture.document.LastFileError(), DocumentFileError::ObjectSaveFailed);
    EXPECT_EQ(ReadFileBytes(path), "previous contents");
    EXPECT_TRUE(fixture.document.IsModified());
    // No temporary file is left behind.
    size_t files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.Path())) {
        ++files;
    }
    EXPECT_EQ(files, 1u);

    EXPECT_FALSE(fixture.document.OnSaveDocument(folder.File("missing/dir.nvx").c_str()));
    EXPECT_EQ(fixture.document.LastFileError(), DocumentFileError::CannotOpen);
}

// Lowers the file-size limit for the test's lifetime, so that writes past
// it fail as on a full disk.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &m_previous);
        m_previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_previous;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_previous);
        std::signal(SIGXFSZ, m_previousHandler);
    }

private:
    rlimit m_previous{};
    void (*m_previousHandler)(int) = nullptr;
};

TEST(DocumentFileTest, AWriteThatFailsFailsTheSaveAndKeepsTheOldFile)
{
    TempFolder folder;
    const std::string path = folder.File("full.nvx");
    WriteFileBytes(path, "previous contents");
    DocumentFixture fixture;
    AddTestObject(fixture.document, std::string(200000, 'w'));
    fixture.document.SetModifiedFlag(TRUE);
    {
        FileSizeLimit limit(4096);
        EXPECT_FALSE(fixture.document.OnSaveDocument(path.c_str()));
    }
    EXPECT_EQ(fixture.document.LastFileError(), DocumentFileError::WriteFailed);
    EXPECT_EQ(ReadFileBytes(path), "previous contents");
    EXPECT_TRUE(fixture.document.IsModified());
    EXPECT_FALSE(fixture.document.HasFile());
}

TEST(DocumentFileTest, ASaveReplacesTheOldFileAndKeepsItsPermissions)
{
    TempFolder folder;
    const std::string path = folder.File("perm.nvx");
    WriteFileBytes(path, "old");
    ::chmod(path.c_str(), 0640);
    DocumentFixture fixture;
    AddTestObject(fixture.document, "n");
    ASSERT_TRUE(fixture.document.OnSaveDocument(path.c_str()));
    EXPECT_EQ(ReadFileBytes(path), I32(1) + TestRecord("n"));
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
}

TEST(DocumentFileTest, PathExtensions)
{
    const std::pair<const char*, const char*> kCases[] = {
        {"a.nvx", "nvx"},       {"dir\\file.NVX", "NVX"}, {"dir\\noext", "noext"}, {"dir/x.y/name", "name"},
        {"plain", "plain"},     {"trailing.", ""},        {"a.b.nc", "nc"},
    };
    for (const auto& [path, extension] : kCases) {
        SCOPED_TRACE(path);
        EXPECT_EQ(PathExtension(path), extension);
    }
}

// A file handler of the fake add-in: records its Create and OnEvent calls.
class TestFileHandler : public CCountedObject<IAddinCommand, IID_IAddinCommand> {
public:
    explicit TestFileHandler(std::vector<std::string>& log) : m_log(log) {}
    HRESULT STDMETHODCALLTYPE Create(IHostDocument*, LONG number, LONG_PTR) override
    {
        m_log.push_back("create " + std::to_string(number));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnEvent(LONG event, void* value, LONG, LONG, LONG*) override
    {
        m_log.push_back("event " + std::to_string(event) + " " + static_cast<const char*>(value));
        return S_OK;
    }

private:
    std::vector<std::string>& m_log;
};

TEST(DocumentFileTest, OtherExtensionsGoToTheRegisteredAddin)
{
    const IID kHandler = {0x1234, 0, 0, {1, 1, 1, 1, 1, 1, 1, 1}};
    DocumentFixture fixture;
    std::vector<std::string> log;
    fixture.services.addinFactory.maker = [&log, &kHandler](const IID& iid) -> IUnknown* {
        return iid == kHandler ? new TestFileHandler(log) : nullptr;
    };
    fixture.services.fileTypes.push_back({"NC files", "nc", fixture.services.fakeAddin, kHandler, kFileTypeOpens});
    fixture.document.SetModifiedFlag(TRUE);

    EXPECT_TRUE(fixture.document.OnOpenDocument("dir\\part.nc"));
    EXPECT_FALSE(fixture.document.OnSaveDocument("dir\\part.nc"));
    EXPECT_FALSE(fixture.document.OnOpenDocument("dir\\part.NVX"));
    EXPECT_FALSE(fixture.document.OnSaveDocument("dir\\part.NVX"));
    EXPECT_EQ(log, (std::vector<std::string>{"create 1", "event 1 dir\\part.nc"}));
    EXPECT_TRUE(fixture.document.IsModified());
    EXPECT_FALSE(fixture.document.HasFile());
}

} // namespace
