#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "core/Core_File.h"
#include "tests/core/TestObjects.h"
#include "tests/support/TestSupport.h"

using CoreTest::GraphNode;

namespace {

std::string Bytes(const Core::MemoryFile& file) {
  const auto& buffer = file.GetBuffer();
  return std::string(reinterpret_cast<const char*>(buffer.GetData()), buffer.GetSize());
}

std::string U32(uint32_t value) { return std::string(reinterpret_cast<const char*>(&value), 4); }

Core::SmartPointer<GraphNode> Node(int32_t value) {
  Core::SmartPointer<GraphNode> node(new GraphNode());
  node->value = value;
  return node;
}

}  // namespace

TEST(Streams, RawValuesAndStringsRoundTrip) {
  Core::MemoryFile file;
  Core::WriteValue<uint8_t>(file, 200);
  Core::WriteValue<bool>(file, true);
  Core::WriteValue<int32_t>(file, -5);
  Core::WriteValue<uint32_t>(file, 0xDEADBEEF);
  Core::WriteValue<float>(file, 1.5f);
  Core::WriteValue<double>(file, -2.25);
  file << std::string("hello") << std::string();
  EXPECT_EQ(file.GetBuffer().GetSize(), 1u + 1 + 4 + 4 + 4 + 8 + (4 + 5) + 4);
  EXPECT_EQ(Bytes(file).substr(Bytes(file).size() - 4), std::string(4, '\0'));

  EXPECT_EQ(Core::ReadValue<uint8_t>(file), 200);
  EXPECT_EQ(Core::ReadValue<bool>(file), true);
  EXPECT_EQ(Core::ReadValue<int32_t>(file), -5);
  EXPECT_EQ(Core::ReadValue<uint32_t>(file), 0xDEADBEEF);
  EXPECT_EQ(Core::ReadValue<float>(file), 1.5f);
  EXPECT_EQ(Core::ReadValue<double>(file), -2.25);
  std::string text, unchanged = "keep";
  file >> text >> unchanged;
  EXPECT_EQ(text, "hello");
  EXPECT_EQ(unchanged, "keep");  // an empty string item leaves its target as it was
  EXPECT_FALSE(file.HasFailed());
  EXPECT_EQ(file.GetRemaining(), 0u);
}

TEST(Streams, SharedAndCyclicObjectGraphsComeBackWithTheirShape) {
  auto root = Node(1);
  auto shared = Node(2);
  root->left = shared;
  root->right = shared;
  shared->left = root;  // a cycle back to the root
  shared->right = Node(3);

  Core::MemoryFile file;
  file.WriteObject(root.Get());
  file.WriteObject(nullptr);
  file.WriteObject(shared.Get());

  // Ids follow first occurrence: root 1, shared 2, the third node 3; repeats carry no data.
  const std::string name = "CoreTest::GraphNode";
  std::string expected;
  auto header = [&](uint32_t id) { return std::string(1, '\1') + U32(name.size()) + name + U32(id); };
  expected += header(1) + U32(1);        // root and its value
  expected += header(2) + U32(2);        // root.left = shared
  expected += header(1);                 // shared.left = root again
  expected += header(3) + U32(3) + std::string(2, '\0');  // shared.right, two null children
  expected += header(2);                 // root.right = shared again
  expected += std::string(1, '\0');      // null
  expected += header(2);                 // shared again
  EXPECT_EQ(Bytes(file), expected);

  // A fresh stream over the bytes: the writer's object table must not answer the reader.
  Core::MemoryFile in(expected.data(), static_cast<uint32_t>(expected.size()));
  Core::SmartPointer<Core::Object> first;
  Core::ReadObjectPointer(in, first);
  Core::Object* null = reinterpret_cast<Core::Object*>(1);
  in >> null;
  Core::SmartPointer<GraphNode> again;
  Core::ReadObjectPointer(in, again);
  ASSERT_FALSE(in.HasFailed());
  EXPECT_EQ(in.GetRemaining(), 0u);
  EXPECT_EQ(null, nullptr);

  auto* readRoot = dynamic_cast<GraphNode*>(first.Get());
  ASSERT_NE(readRoot, nullptr);
  EXPECT_EQ(readRoot->value, 1);
  ASSERT_NE(readRoot->left.Get(), nullptr);
  EXPECT_EQ(readRoot->left.Get(), readRoot->right.Get());
  EXPECT_EQ(readRoot->left.Get(), again.Get());
  EXPECT_EQ(again->left.Get(), readRoot);
  EXPECT_EQ(again->right->value, 3);

  // Break the cycles so the counting scheme can free both graphs.
  shared->left.Reset();
  again->left.Reset();
}

TEST(Streams, MalformedInputFailsCleanly) {
  {  // a u32 length of 0xFFFFFFFF with nothing behind it
    std::string bytes = U32(0xFFFFFFFF) + "abc";
    Core::MemoryFile file(bytes.data(), bytes.size());
    std::string text = "old";
    file >> text;
    EXPECT_TRUE(file.HasFailed());
    EXPECT_EQ(text, "");
    EXPECT_EQ(Core::ReadValue<uint32_t>(file), 0u);  // later reads give nothing
  }
  {  // truncated raw value
    std::string bytes = "\x01\x02";
    Core::MemoryFile file(bytes.data(), bytes.size());
    EXPECT_EQ(Core::ReadValue<uint32_t>(file), 0u);
    EXPECT_TRUE(file.HasFailed());
  }
  {  // unknown class: its data cannot be skipped, the stream fails
    std::string name = "NoSuchClass";
    std::string bytes = std::string(1, '\1') + U32(name.size()) + name + U32(1) + U32(7);
    Core::MemoryFile file(bytes.data(), bytes.size());
    EXPECT_EQ(file.ReadObject(), nullptr);
    EXPECT_TRUE(file.HasFailed());
  }
  {  // an object reference cut inside its class name
    std::string bytes = std::string(1, '\1') + U32(100) + "Core";
    Core::MemoryFile file(bytes.data(), bytes.size());
    EXPECT_EQ(file.ReadObject(), nullptr);
    EXPECT_TRUE(file.HasFailed());
  }
  {  // a vector count of a billion
    std::string bytes = U32(1000000000) + std::string(1, '\0');
    Core::MemoryFile file(bytes.data(), bytes.size());
    std::vector<Core::SmartPointer<Core::Object>> objects(3);
    Core::ReadObjectVector(file, objects);
    EXPECT_TRUE(file.HasFailed());
    EXPECT_TRUE(objects.empty());
  }
  {  // a reference that names the wrong class for its slot
    Core::MemoryFile out;
    Core::SmartPointer<Core::Object> plain(new Core::Object());
    out.WriteObject(plain.Get());
    Core::MemoryFile file(out.GetBuffer().GetData(), out.GetBuffer().GetSize());
    Core::SmartPointer<GraphNode> node;
    Core::ReadObjectPointer(file, node);
    EXPECT_EQ(node.Get(), nullptr);
    EXPECT_TRUE(file.HasFailed());
  }
}

TEST(Streams, AWrongClassNamingAnObjectStillLoadingFailsWithoutFreeingItTwice) {
  // The holder's Counted slot names the holder itself, which is half-way through its own load: the
  // slot must not free it, and the failed holder is released once, by the read that made it.
  const std::string name = "CoreTest::CountedHolder";
  const std::string self = std::string(1, '\1') + U32(name.size()) + name + U32(1);
  const std::string bytes = self + self;
  Core::MemoryFile file(bytes.data(), static_cast<uint32_t>(bytes.size()));
  Core::SmartPointer<Core::Object> holder;
  Core::ReadObjectPointer(file, holder);
  EXPECT_TRUE(file.HasFailed());
  EXPECT_EQ(holder.Get(), nullptr);
}

TEST(Streams, AnObjectCutShortIsReleasedNeverHandedOut) {
  const int alive = GraphNode::s_alive;
  std::string bytes;
  {
    auto root = Node(1);
    root->left = Node(2);
    root->right = Node(3);
    root->left->right = Node(4);
    Core::MemoryFile out;
    out.WriteObject(root.Get());
    bytes = Bytes(out);
  }
  ASSERT_EQ(GraphNode::s_alive, alive);
  for (size_t cut = 1; cut < bytes.size(); ++cut) {
    Core::MemoryFile file(bytes.data(), static_cast<uint32_t>(cut));
    EXPECT_EQ(file.ReadObject(), nullptr) << "cut at " << cut;
    EXPECT_TRUE(file.HasFailed());
    EXPECT_EQ(GraphNode::s_alive, alive) << "cut at " << cut;  // every half-built node freed
  }

  // A child that takes its still-loading parent and is then cut short drops that reference again:
  // the parent must survive that until its own read releases it.
  const std::string name = "CoreTest::GraphNode";
  auto header = [&](uint32_t id) { return std::string(1, '\1') + U32(name.size()) + name + U32(id); };
  const std::string cyclic = header(1) + U32(1) + header(2) + U32(2) + header(1) + header(3) + U32(3);
  for (size_t cut = 1; cut < cyclic.size(); ++cut) {
    Core::MemoryFile file(cyclic.data(), static_cast<uint32_t>(cut));
    Core::SmartPointer<Core::Object> root;
    Core::ReadObjectPointer(file, root);
    EXPECT_EQ(root.Get(), nullptr) << "cut at " << cut;
    EXPECT_EQ(GraphNode::s_alive, alive) << "cut at " << cut;
  }
}

TEST(Streams, DeeplyNestedReferencesStop) {
  // Each node's left child is the next, deeper than any real data: the reader must give up, not
  // overflow the stack.
  const std::string name = "CoreTest::GraphNode";
  std::string bytes;
  for (uint32_t id = 1; id <= 5000; ++id) bytes += std::string(1, '\1') + U32(name.size()) + name + U32(id) + U32(0);
  Core::MemoryFile file(bytes.data(), bytes.size());
  Core::SmartPointer<Core::Object> root;
  Core::ReadObjectPointer(file, root);
  EXPECT_TRUE(file.HasFailed());
}

TEST(Streams, MemoryFileReadsAndWritesIndependently) {
  Core::MemoryFile file;
  Core::WriteValue<uint32_t>(file, 1);
  EXPECT_EQ(Core::ReadValue<uint32_t>(file), 1u);
  Core::WriteValue<uint32_t>(file, 2);
  EXPECT_EQ(file.GetBuffer().GetSize(), 8u);
  EXPECT_EQ(Core::ReadValue<uint32_t>(file), 2u);
  char beyond[4] = {1, 1, 1, 1};
  file.Read(beyond, 4);
  EXPECT_TRUE(file.HasFailed());
  EXPECT_EQ(std::string(beyond, 4), std::string(4, '\0'));
}

TEST(Streams, DiskFilesRoundTripAndRestartIdsAfterClose) {
  const std::string directory = TestSupport::MakeTempDirectory("velkor-file-");
  const std::string path = directory + "\\saved.bin";  // the system's own separators
  auto node = Node(9);
  {
    Core::DiskFile out(path, Core::DiskFile::WriteMode);
    ASSERT_FALSE(out.HasFailed());
    out.WriteObject(node.Get());
    out << std::string("tail");
  }
  {
    Core::DiskFile in(path, Core::DiskFile::ReadMode);
    ASSERT_FALSE(in.HasFailed());
    Core::SmartPointer<GraphNode> read;
    Core::ReadObjectPointer(in, read);
    std::string tail;
    in >> tail;
    EXPECT_FALSE(in.HasFailed());
    ASSERT_NE(read.Get(), nullptr);
    EXPECT_EQ(read->value, 9);
    EXPECT_EQ(tail, "tail");
    Core::ReadValue<uint8_t>(in);
    EXPECT_TRUE(in.HasFailed());  // reading past the end
  }
  {
    Core::DiskFile out(path, Core::DiskFile::WriteMode);
    out.WriteObject(node.Get());
    out.Close();
    EXPECT_TRUE(out.HasFailed());  // closed
  }
  EXPECT_TRUE(Core::DiskFile(directory + "/missing.bin", Core::DiskFile::ReadMode).HasFailed());
  EXPECT_TRUE(Core::DiskFile(path, 7).HasFailed());
  std::remove((directory + "/saved.bin").c_str());
  std::remove(directory.c_str());
}
