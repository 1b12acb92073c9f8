// Messages between applications: the opcd and opcf payloads turned into
// commands (sizes, cuts, short and damaged payloads), open documents
// reaching one browser as 'ofsr', the senders without a sibling, and, on a
// session bus, the senders reaching a running sibling's actions.
#include "app/appevents.h"

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gio/gio.h>
#include <memory>
#include <thread>

#include "foundation/iodata.h"
#include "platform/ipc.h"
#include "tests/app/app_fixture.h"

namespace {

struct SeenCommand
{
  int32_t command;
  std::vector<uint8_t> bytes;  // what the data pointer showed (the block's size)
  frefinfos record;
};

std::vector<SeenCommand> gCommands;

int16_t spyBrowser(Edoc*, int32_t command, void* data)
{
  SeenCommand seen{command, {}, {}};
  const auto* bytes = static_cast<const uint8_t*>(data);
  if (command == int32_t(fourcc("ofsr")) && data)
    seen.record = *static_cast<frefinfos*>(data);
  else if (command == 502 && data)
    seen.bytes.assign(bytes, bytes + kOpcodeFileBlockSize);
  else if (data)
    seen.bytes.assign(bytes, bytes + (kOpcodeBlockSize - 4));
  gCommands.push_back(seen);
  return 0;
}

std::vector<uint8_t> le32(uint32_t v)
{
  return {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
}

std::vector<uint8_t> counting(size_t n, uint8_t from = 0)
{
  std::vector<uint8_t> out(n);
  for (size_t i = 0; i < n; ++i)
    out[i] = uint8_t(from + i);
  return out;
}

std::vector<uint8_t> join(std::vector<uint8_t> a, const std::vector<uint8_t>& b)
{
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

frefinfos sampleRecord(const std::string& folder)
{
  frefinfos r;
  r.type = fourcc("qjKv");
  r.state = 3;
  const std::string name = "Spiral tree";
  r.name[0] = uint8_t(name.size());
  std::memcpy(r.name + 1, name.data(), name.size());
  r.parent = FileRef::fromPath(folder);
  return r;
}

struct AppEvents : AppFixture
{
  void SetUp() override
  {
    AppFixture::SetUp();
    gCommands.clear();
    spy.callback = spyBrowser;
    gCurDoc = &spy;
  }
  void TearDown() override
  {
    gCurDoc = nullptr;
    AppFixture::TearDown();
  }
  Edoc spy;
  TempFolder files;
};

TEST_F(AppEvents, OpcodeBlocksUseAtMost324BytesAndIgnoreShortOnes)
{
  // 400 bytes: the opcode, then 320 data bytes; the rest is not used.
  const std::vector<uint8_t> data = counting(396, 7);
  OpcodeHandler(join(le32(504), data).data(), 400);
  ASSERT_EQ(gCommands.size(), 1u);
  EXPECT_EQ(gCommands[0].command, 504);
  EXPECT_EQ(gCommands[0].bytes, std::vector<uint8_t>(data.begin(), data.begin() + 320));

  // A bare opcode gives the command with zeroed data; fewer than 4 bytes
  // give nothing.
  gCommands.clear();
  OpcodeHandler(le32(fourcc("liil")).data(), 4);
  ASSERT_EQ(gCommands.size(), 1u);
  EXPECT_EQ(gCommands[0].command, int32_t(fourcc("liil")));
  EXPECT_EQ(gCommands[0].bytes, std::vector<uint8_t>(320, 0));
  gCommands.clear();
  const std::vector<uint8_t> three = {1, 2, 3};
  OpcodeHandler(three.data(), three.size());
  OpcodeHandler(nullptr, 0);
  EXPECT_TRUE(gCommands.empty());
}

TEST_F(AppEvents, OpcodeFileGivesOfsrForOneRecordAnd502ForOtherBlocks)
{
  const frefinfos record = sampleRecord(files.root().path());
  const std::vector<uint8_t> whole = join(le32(fourcc("ofsr")), AE_serializeRecord(record));
  gIOdata.typeList[0] = 0;
  OpcodeFileHandler(whole.data(), whole.size());
  ASSERT_EQ(gCommands.size(), 1u);
  EXPECT_EQ(gCommands[0].command, int32_t(fourcc("ofsr")));
  EXPECT_EQ(gCommands[0].record.type, record.type);
  EXPECT_EQ(gCommands[0].record.state, 3);
  EXPECT_EQ(pascalText(gCommands[0].record.name), "Spiral tree");
  EXPECT_EQ(gCommands[0].record.parent.path(), files.root().path());
  EXPECT_EQ(gIOdata.typeList[0], fourcc("qjKv"));

  // A record one byte short or long, or 76 bytes of anything: the first 76
  // bytes with 502. Fewer than 76 bytes: nothing.
  struct Case
  {
    std::vector<uint8_t> payload;
    bool gives502;
  };
  std::vector<uint8_t> shortRecord(whole.begin(), whole.end() - 1);
  std::vector<uint8_t> longRecord = join(whole, {9});
  const std::vector<Case> cases = {
      {shortRecord, true},   {longRecord, true},    {counting(76), true},
      {counting(75), false}, {counting(10), false}, {counting(3), false},
  };
  for (const Case& c : cases) {
    gCommands.clear();
    // Held in a block of its own size, so the sanitizer sees any read past it.
    std::unique_ptr<uint8_t[]> exact(new uint8_t[c.payload.size()]);
    std::memcpy(exact.get(), c.payload.data(), c.payload.size());
    OpcodeFileHandler(exact.get(), c.payload.size());
    SCOPED_TRACE(c.payload.size());
    if (!c.gives502) {
      EXPECT_TRUE(gCommands.empty());
      continue;
    }
    ASSERT_EQ(gCommands.size(), 1u);
    EXPECT_EQ(gCommands[0].command, 502);
    EXPECT_EQ(gCommands[0].bytes, std::vector<uint8_t>(c.payload.begin(), c.payload.begin() + 76));
  }
}

TEST_F(AppEvents, RecordsRoundTripAndDamagedOnesAreRefused)
{
  frefinfos record = sampleRecord("/tmp/a folder/é");
  std::vector<uint8_t> bytes = AE_serializeRecord(record);
  ASSERT_EQ(bytes.size(), 72u + record.parent.path().size());
  frefinfos back;
  ASSERT_TRUE(AE_parseRecord(bytes.data(), bytes.size(), &back));
  EXPECT_EQ(back.parent.path(), record.parent.path());
  EXPECT_EQ(pascalText(back.name), "Spiral tree");

  std::vector<uint8_t> badName = bytes;
  badName[6] = 64;  // a name longer than its 63 bytes of room
  EXPECT_FALSE(AE_parseRecord(badName.data(), badName.size(), &back));
  EXPECT_FALSE(AE_parseRecord(bytes.data(), 71, &back));
  EXPECT_FALSE(AE_parseRecord(nullptr, 0, &back));
}

TEST_F(AppEvents, OpenDocumentsMakeOneBrowserAndShowEachFileThatResolves)
{
  const std::string sub = files.root().path() + "/sub";
  std::filesystem::create_directories(sub);
  const std::string longName(70, 'n');
  for (const std::string& p : {sub + "/a.kv", sub + "/" + longName})
    std::ofstream(p) << "tree";
  AEOpenDocument({sub + "/a.kv", sub + "/missing.kv", sub + "/" + longName, sub});

  // Each file asks for a browser (501, which keeps the one that exists);
  // the missing file shows nothing and the folder is left to the start-up.
  std::vector<int32_t> commands;
  for (const SeenCommand& c : gCommands)
    commands.push_back(c.command);
  const int32_t ofsr = int32_t(fourcc("ofsr"));
  EXPECT_EQ(commands, (std::vector<int32_t>{ofsr, ofsr}));
  ASSERT_EQ(gCommands.size(), 2u);
  EXPECT_EQ(pascalText(gCommands[0].record.name), "a.kv");
  EXPECT_EQ(gCommands[0].record.parent.path(), sub);
  EXPECT_EQ(pascalText(gCommands[1].record.name), std::string(63, 'n'));
}

TEST_F(AppEvents, SendersWithoutASiblingFailQuietly)
{
  // A creator nobody owns, with or without a session bus.
  const OSType nobody = fourcc("Zq9!");
  const std::vector<uint8_t> data = le32(fourcc("open"));
  EXPECT_EQ(SendAppOpcode(data.data(), int16_t(data.size()), nobody), -1);
  EXPECT_EQ(SendFAppOpcode(int32_t(fourcc("ofsr")), sampleRecord(files.root().path()), nobody), -1);
  EXPECT_EQ(FindAProcess(fourcc("APPL"), nobody, nullptr), kProcNotFound);
  EXPECT_EQ(OpenApplication(nobody), -1);
  EXPECT_EQ(OpenEfileSelection(sampleRecord(files.root().path()), nobody), -1);
  EXPECT_TRUE(gAlertTexts.empty());
}

TEST(AppEventsData, LiilHoldsTheLengthAndPathAndRefusesPathsThatDoNotFit)
{
  const std::vector<uint8_t> liil = AE_liilData(FileRef::fromPath("/tmp/é.kv"));
  const std::string path = "/tmp/é.kv";
  std::vector<uint8_t> expected = le32(fourcc("liil"));
  expected.push_back(uint8_t(path.size()));
  expected.push_back(0);
  expected.insert(expected.end(), path.begin(), path.end());
  EXPECT_EQ(liil, expected);
  EXPECT_TRUE(AE_liilData(FileRef::fromPath("/" + std::string(400, 'x'))).empty());
}

// ---- On a session bus ---------------------------------------------------------

std::vector<std::vector<uint8_t>> gReceived;

void recordAction(const uint8_t* data, size_t length, void*)
{
  gReceived.emplace_back(data, data + length);
}

// Runs the main context until `count` actions arrived or two seconds passed.
void waitForActions(size_t count)
{
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(2);
  while (gReceived.size() < count && std::chrono::steady_clock::now() < end) {
    while (g_main_context_iteration(nullptr, FALSE)) {
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

TEST(AppEventsBus, SendersReachARunningSiblingsActions)
{
  if (!std::getenv("DBUS_SESSION_BUS_ADDRESS"))
    GTEST_SKIP() << "no session bus (the dbus check runs this under dbus-run-session)";
  // This process stands in for the tree editor.
  ASSERT_EQ(kvipc::start(kTreeEditorCreator, {}, nullptr, nullptr), kvipc::Role::primary);
  ASSERT_TRUE(kvipc::addAction("opcd", true, recordAction, nullptr));
  ASSERT_TRUE(kvipc::addAction("opcf", true, recordAction, nullptr));
  gReceived.clear();

  const std::vector<uint8_t> data = join(le32(fourcc("open")), counting(6));
  EXPECT_EQ(SendAppOpcode(data.data(), int16_t(data.size()), kTreeEditorCreator), 0);
  frefinfos record = sampleRecord("/tmp");
  EXPECT_EQ(SendFAppOpcode(int32_t(fourcc("ofsr")), record, kTreeEditorCreator), 0);
  waitForActions(2);
  // The sibling's process is found, with its program.
  FileRef program;
  EXPECT_EQ(FindAProcess(fourcc("APPL"), kTreeEditorCreator, &program), 0);
  EXPECT_EQ(program.path(), std::filesystem::read_symlink("/proc/self/exe").string());
  EXPECT_EQ(FindAProcess(fourcc("FNDR"), kTreeEditorCreator, nullptr), kProcNotFound);
  kvipc::stop();

  ASSERT_EQ(gReceived.size(), 2u);
  EXPECT_EQ(gReceived[0], data);
  EXPECT_EQ(gReceived[1], join(le32(fourcc("ofsr")), AE_serializeRecord(record)));
}

}  // namespace
