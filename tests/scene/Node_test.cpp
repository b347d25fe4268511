// The tree: world matrices and boxes through updates, visibility, child bookkeeping, culling,
// registrations and the stream round trip of a whole tree (also from hostile streams).
#include <gtest/gtest.h>

#include "SceneTestHelpers.h"
#include "core/Core_File.h"
#include "math/Math_Constants.h"
#include "scene/Engine_Camera.h"
#include "scene/Engine_SceneGraph.h"
#include "scene/Engine_Sprite.h"
#include "scene/Engine_Text.h"
#include "scene/Engine_TextureSource.h"
#include "scene/Engine_Viewport.h"

namespace {

using Core::SmartPointer;

// An attachment that clones itself, beside the base class, whose Clone answers a plain object.
class ClonedAttachment : public Engine::Attachment {
 public:
  VELKOR_DECLARE_CLASS(ClonedAttachment);
};
VELKOR_IMPLEMENT_CLASS(ClonedAttachment, "SceneTest::ClonedAttachment");

// One node's bytes with its parent reference given raw: stream id `id` of class `className`.
std::string NodeBytes(const std::string& className, uint32_t id, const std::string& parent, const std::string& name) {
  Core::MemoryFile out;
  Core::WriteValue<uint8_t>(out, 1);
  out << className;
  Core::WriteValue<uint32_t>(out, id);
  Math::WriteMatrix4x4(out, Math::Matrix4x4());
  out.Write(parent.data(), static_cast<uint32_t>(parent.size()));
  for (int flag = 0; flag < 5; ++flag) Core::WriteValue<uint8_t>(out, 1);
  out << name;
  return std::string(reinterpret_cast<const char*>(out.GetBuffer().GetData()), out.GetBuffer().GetSize());
}

std::string Reference(const std::string& className, uint32_t id) {
  Core::MemoryFile out;
  Core::WriteValue<uint8_t>(out, 1);
  out << className;
  Core::WriteValue<uint32_t>(out, id);
  return std::string(reinterpret_cast<const char*>(out.GetBuffer().GetData()), out.GetBuffer().GetSize());
}

class NodeTest : public SceneTest::SceneFixture {
 protected:
  NodeTest() : SceneFixture(true) {}
  void SetUp() override {
    SceneFixture::SetUp();
    SceneTest::RegisterTextureSize("sheet.png", 128, 64);
  }
  SmartPointer<Engine::Sprite> MakeSprite() {
    std::vector<Engine::SpriteFrame> frames = {{0, 0, 0.1f}, {1, 0, 0.1f}};
    SmartPointer<Engine::SpriteAnimation> animation(
        new Engine::SpriteAnimation(Engine::LoadTexture("sheet.png", true), 32, 32, frames));
    return new Engine::Sprite({animation});
  }
};

TEST_F(NodeTest, UpdatePlacesNodesByTheirParentsAndMergesBoxes) {
  SmartPointer<Engine::TransformationGroup> outer(new Engine::TransformationGroup());
  SmartPointer<Engine::TransformationGroup> inner(new Engine::TransformationGroup());
  SmartPointer<Engine::Node> leaf(new Engine::Node());
  outer->SetTransform(Math::Matrix4x4::MakeTranslation(10, 0, 0));
  inner->SetTransform(Math::Matrix4x4::MakeTranslation(0, 5, 0));
  scene->AddChild(outer);
  outer->AddChild(inner);
  inner->AddChild(leaf);
  scene->UpdateFrame(0.016f);
  EXPECT_EQ(leaf->GetWorld(), Math::Matrix4x4::MakeTranslation(10, 5, 0));
  Math::Matrix4x4 world;
  inner->GetWorldMatrix(world);
  EXPECT_EQ(world, Math::Matrix4x4::MakeTranslation(10, 5, 0));

  // Moving the parent moves the child from the next update on.
  outer->SetTransform(Math::Matrix4x4::MakeTranslation(-3, 0, 0));
  EXPECT_EQ(leaf->GetWorld(), Math::Matrix4x4::MakeTranslation(10, 5, 0));
  scene->UpdateFrame(0.016f);
  EXPECT_EQ(leaf->GetWorld(), Math::Matrix4x4::MakeTranslation(-3, 5, 0));

  // The outer group's box encloses the inner group's translated debug box (local corners +-5).
  float maxY = -1e9f;
  for (const auto& corner : outer->GetBoundingVolume().worldBox.corners) maxY = std::max(maxY, corner.y);
  EXPECT_FLOAT_EQ(maxY, 10.0f);

  // A hook runs first in every update, with the node and dt.
  float seen = 0.0f;
  leaf->SetUpdateHook([&seen](Engine::Node* self, float dt) {
    EXPECT_NE(self, nullptr);
    seen = dt;
  });
  scene->UpdateFrame(0.5f);
  EXPECT_EQ(seen, 0.5f);
}

TEST_F(NodeTest, ChildrenBookkeepingVisibilityAndNames) {
  SmartPointer<Engine::Group> group(new Engine::Group());
  SmartPointer<Engine::Node> child(new Engine::Node());
  SmartPointer<Engine::Node> stranger(new Engine::Node());
  group->AddChild(child);
  group->AddChild(nullptr);
  EXPECT_EQ(group->GetChildCount(), 1u);
  EXPECT_EQ(child->GetParent(), group.Get());
  group->RemoveChild(stranger);
  EXPECT_EQ(group->GetChildCount(), 1u);
  group->RemoveChild(child);
  EXPECT_EQ(group->GetChildCount(), 0u);
  EXPECT_EQ(child->GetParent(), nullptr);  // no longer points at the group
  // A child that outlives its group does not point at the dead group either.
  {
    SmartPointer<Engine::Group> shortLived(new Engine::Group());
    shortLived->AddChild(child);
  }
  EXPECT_EQ(child->GetParent(), nullptr);
  child->Update(0.1f);  // detached: reads no parent
  EXPECT_EQ(child->GetWorld(), Math::Matrix4x4());

  group->AddChild(child);
  group->SetName("same");
  child->SetName("same");
  EXPECT_EQ(group->FindByName("same").Get(), group.Get());
  EXPECT_FALSE(group->FindByName("missing"));
  group->SetVisible(false, false);
  EXPECT_TRUE(child->GetVisible());
  group->SetVisible(false, true);
  EXPECT_FALSE(child->GetVisible());
}

TEST_F(NodeTest, SpritesOutsideTheFrustumAreNotSubmitted) {
  SmartPointer<Engine::Camera> camera(new Engine::Camera(45.0f, 1.0f, 1000.0f));
  SmartPointer<Engine::Viewport> viewport(new Engine::Viewport(0, 0, 640, 480));
  SmartPointer<Engine::TransformationGroup> visiblePlace(new Engine::TransformationGroup());
  SmartPointer<Engine::TransformationGroup> hiddenPlace(new Engine::TransformationGroup());
  visiblePlace->SetTransform(Math::Matrix4x4::MakeTranslation(0, 0, -200));
  hiddenPlace->SetTransform(Math::Matrix4x4::MakeTranslation(5000, 0, -200));
  auto shown = MakeSprite();
  auto hidden = MakeSprite();
  shown->SetPlaying(true);
  visiblePlace->AddChild(shown);
  hiddenPlace->AddChild(hidden);
  scene->AddChild(camera);
  scene->AddChild(visiblePlace);
  scene->AddChild(hiddenPlace);
  scene->UpdateFrame(0.016f);
  renderer->ClearLog();
  scene->RenderView(camera, viewport);
  EXPECT_EQ(renderer->draws.size(), 1u);

  // An invisible sprite is not drawn either; in screen space it is never culled.
  shown->SetVisible(false, false);
  hidden->SetScreenSpace(true);
  renderer->draws.clear();
  scene->RenderView(camera, viewport);
  EXPECT_EQ(renderer->draws.size(), 1u);
}

TEST_F(NodeTest, RegistrationsCreateTheEngineClassesByName) {
  const char* names[] = {"Engine::Node", "Engine::TransformationGroup", "Engine::SpriteAnimation",
                         "Engine::Sprite", "Engine::Group", "Engine::Text"};
  for (const char* name : names) {
    SmartPointer<Core::Object> object(Core::CreateObject(name));
    ASSERT_TRUE(object) << name;
    EXPECT_STREQ(object->GetClassName(), name);
    EXPECT_EQ(object->GetReferenceCount(), 1u);  // 0 before the smart pointer took it
  }
  EXPECT_EQ(Core::CreateObject("Engine::Mesh"), nullptr);
}

TEST_F(NodeTest, SavedTreeLoadsBackInTheSameShape) {
  SmartPointer<Engine::Group> root(new Engine::Group());
  SmartPointer<Engine::TransformationGroup> branch(new Engine::TransformationGroup());
  branch->SetTransform(Math::Matrix4x4::MakeTranslation(1, 2, 3));
  branch->SetName("branch");
  auto sprite = MakeSprite();
  sprite->SetName("sprite");
  sprite->SetCurrentFrameIndex(1, true);
  sprite->SetOpacity(0.25f);
  SmartPointer<Engine::Text> text(new Engine::Text("hello", false));
  text->SetName("text");
  root->AddChild(branch);
  branch->AddChild(sprite);
  branch->AddChild(text);
  SmartPointer<Engine::Node> leaf(new Engine::Node());
  leaf->SetName("leaf");
  root->AddChild(leaf);

  Core::MemoryFile file;
  file.WriteObject(root.Get());
  Core::MemoryFile reader(file.GetBuffer().GetData(), file.GetBuffer().GetSize());
  SmartPointer<Core::Object> loaded(reader.ReadObject());
  ASSERT_FALSE(reader.HasFailed());
  auto* group = dynamic_cast<Engine::Group*>(loaded.Get());
  ASSERT_NE(group, nullptr);
  ASSERT_EQ(group->GetChildCount(), 2u);
  auto loadedBranch = group->GetChild(0);
  EXPECT_EQ(loadedBranch->GetName(), "branch");
  EXPECT_EQ(loadedBranch->GetParent(), group);
  EXPECT_EQ(group->GetChild(1)->GetName(), "leaf");
  auto* loadedBranchGroup = dynamic_cast<Engine::TransformationGroup*>(loadedBranch.Get());
  ASSERT_NE(loadedBranchGroup, nullptr);
  EXPECT_EQ(*loadedBranchGroup->GetTransform(), Math::Matrix4x4::MakeTranslation(1, 2, 3));
  ASSERT_EQ(loadedBranchGroup->GetChildCount(), 2u);
  auto* loadedSprite = dynamic_cast<Engine::Sprite*>(loadedBranchGroup->GetChild(0).Get());
  ASSERT_NE(loadedSprite, nullptr);
  EXPECT_EQ(loadedSprite->GetParent(), loadedBranchGroup);
  EXPECT_EQ(loadedSprite->GetCurrentFrameIndex(), 1u);
  EXPECT_EQ(loadedSprite->GetOpacity(), 0.25f);
  ASSERT_EQ(loadedSprite->GetAnimationsCount(), 1u);
  EXPECT_EQ(loadedSprite->GetAnimation(0)->GetFramesCount(), 2u);
  auto* loadedText = dynamic_cast<Engine::Text*>(loadedBranchGroup->GetChild(1).Get());
  ASSERT_NE(loadedText, nullptr);
  EXPECT_EQ(loadedText->GetText(), "hello");
  EXPECT_EQ(reader.GetRemaining(), 0u);
}

TEST_F(NodeTest, HostileTreeStreamsFailWithoutCycles) {
  // A group whose child list names the group itself (by its stream id 1).
  Core::MemoryFile file;
  SmartPointer<Engine::Group> group(new Engine::Group());
  file.WriteObject(group.Get());
  std::vector<unsigned char> bytes(file.GetBuffer().GetData(), file.GetBuffer().GetData() + file.GetBuffer().GetSize());
  // Replace the trailing child count 0 with 1 and a reference to id 1.
  bytes.resize(bytes.size() - 4);
  const unsigned char tail[] = {1, 0, 0, 0, 1, 13, 0, 0, 0, 'E', 'n', 'g', 'i', 'n', 'e', ':', ':', 'G', 'r', 'o', 'u', 'p', 1, 0, 0, 0};
  bytes.insert(bytes.end(), tail, tail + sizeof(tail));
  Core::MemoryFile reader(bytes.data(), static_cast<uint32_t>(bytes.size()));
  SmartPointer<Core::Object> loaded(reader.ReadObject());
  EXPECT_TRUE(reader.HasFailed());
  EXPECT_FALSE(loaded);

  // A child count far beyond the stream's bytes.
  std::vector<unsigned char> huge(file.GetBuffer().GetData(), file.GetBuffer().GetData() + file.GetBuffer().GetSize());
  huge[huge.size() - 1] = 0x7F;
  Core::MemoryFile hugeReader(huge.data(), static_cast<uint32_t>(huge.size()));
  SmartPointer<Core::Object> hugeLoaded(hugeReader.ReadObject());
  EXPECT_TRUE(hugeReader.HasFailed());
  EXPECT_FALSE(hugeLoaded);

  // Every truncation of a real tree fails cleanly, and no half-read tree or child is handed out.
  SmartPointer<Engine::Group> root(new Engine::Group());
  root->AddChild(MakeSprite());
  root->AddChild(SmartPointer<Engine::Node>(new Engine::Text("x", false)));
  Core::MemoryFile full;
  full.WriteObject(root.Get());
  for (uint32_t size = 0; size < full.GetBuffer().GetSize(); size += 7) {
    Core::MemoryFile cut(full.GetBuffer().GetData(), size);
    SmartPointer<Core::Object> partial(cut.ReadObject());
    EXPECT_TRUE(cut.HasFailed()) << size;
    EXPECT_FALSE(partial) << size;
  }
}

TEST_F(NodeTest, AChildMayNameItsEnclosingGroupAsParentButNoOtherNode) {
  const std::string null(1, '\0');
  const std::string count1("\1\0\0\0", 4);
  auto tree = [&](const std::string& childParent) {
    return NodeBytes("Engine::Group", 1, null, "root") + count1 + NodeBytes("Engine::Node", 2, childParent, "kid");
  };
  {  // the parent written as a reference to the group being loaded
    const std::string bytes = tree(Reference("Engine::Group", 1));
    Core::MemoryFile reader(bytes.data(), static_cast<uint32_t>(bytes.size()));
    SmartPointer<Core::Object> loaded(reader.ReadObject());
    ASSERT_FALSE(reader.HasFailed());
    auto* group = dynamic_cast<Engine::Group*>(loaded.Get());
    ASSERT_NE(group, nullptr);
    ASSERT_EQ(group->GetChildCount(), 1u);
    EXPECT_EQ(group->GetChild(0)->GetName(), "kid");
    EXPECT_EQ(group->GetChild(0)->GetParent(), group);
  }
  // The node itself, or a node of its own embedded as a second owner, refuses the whole tree.
  for (const std::string& parent : {Reference("Engine::Node", 2), NodeBytes("Engine::Node", 3, null, "other")}) {
    const std::string bytes = tree(parent);
    Core::MemoryFile reader(bytes.data(), static_cast<uint32_t>(bytes.size()));
    EXPECT_EQ(reader.ReadObject(), nullptr);
    EXPECT_TRUE(reader.HasFailed());
  }
}

TEST_F(NodeTest, CopiesCarryClonesOfTheirAttachmentsOnly) {
  SmartPointer<Engine::Node> node(new Engine::Node());
  node->Attach(SmartPointer<Engine::Attachment>(new ClonedAttachment()));
  node->Attach(SmartPointer<Engine::Attachment>(new Engine::Attachment()));  // cannot clone itself
  SmartPointer<Core::Object> copy(node->Clone());
  auto* copied = dynamic_cast<Engine::Node*>(copy.Get());
  ASSERT_NE(copied, nullptr);
  ASSERT_EQ(copied->GetAttachmentCount(), 1u);
  EXPECT_NE(dynamic_cast<ClonedAttachment*>(copied->GetAttachment(0).Get()), nullptr);
  EXPECT_NE(copied->GetAttachment(0).Get(), node->GetAttachment(0).Get());
  EXPECT_EQ(copied->GetAttachment(0)->GetNode(), copied);
}

}  // namespace
