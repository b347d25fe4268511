#include <gtest/gtest.h>

#include "core/Core_Object.h"
#include "tests/core/TestObjects.h"

using CoreTest::Counted;

namespace {

Core::Object* CreateFirst() { return new Counted(); }
Core::Object* CreateSecond() { return nullptr; }

// Keeps another object alive through a smart pointer of its own.
class Holder : public Core::Object {
 public:
  Core::SmartPointer<Core::Object> held;
};

}  // namespace

TEST(ObjectModel, ReferenceCountsDriveLifetime) {
  const int before = Counted::s_alive;
  auto* object = new Counted();
  EXPECT_EQ(object->GetReferenceCount(), 0u);
  {
    Core::SmartPointer<Counted> first(object);
    EXPECT_EQ(object->GetReferenceCount(), 1u);
    Core::SmartPointer<Counted> second = first;
    EXPECT_EQ(object->GetReferenceCount(), 2u);
    second.Reset();
    EXPECT_EQ(object->GetReferenceCount(), 1u);
    EXPECT_EQ(Counted::s_alive, before + 1);
  }
  EXPECT_EQ(Counted::s_alive, before);
}

TEST(ObjectModel, CopiesAndClonesStartWithoutReferences) {
  Core::SmartPointer<Counted> source(new Counted());
  source->value = 42;
  Core::SmartPointer<Counted> extra = source;
  Counted copy(*source);
  EXPECT_EQ(copy.GetReferenceCount(), 0u);
  Core::SmartPointer<Core::Object> clone(source->Clone());
  EXPECT_EQ(clone->GetReferenceCount(), 1u);
  ASSERT_STREQ(clone->GetClassName(), "CoreTest::Counted");
  EXPECT_EQ(static_cast<Counted*>(clone.Get())->value, 42);

  Core::SmartPointer<Core::Object> plain(new Core::Object());
  Core::SmartPointer<Core::Object> plainClone(plain->Clone());
  EXPECT_STREQ(plainClone->GetClassName(), "Object");
}

TEST(ObjectModel, SelfAssignmentKeepsTheObject) {
  const int before = Counted::s_alive;
  Core::SmartPointer<Counted> pointer(new Counted());
  Counted* raw = pointer.Get();
  Core::SmartPointer<Counted>& same = pointer;  // through a reference, as a caller would assign
  pointer = same;
  pointer = raw;
  EXPECT_EQ(raw->GetReferenceCount(), 1u);
  EXPECT_EQ(Counted::s_alive, before + 1);
}

TEST(ObjectModel, AssignmentTakesTheNewReferenceBeforeReleasingTheOld) {
  // The only reference to `inner` is inside `outer`; re-pointing at `inner` releases `outer`, which
  // would delete `inner` first if the old reference were dropped before the new one is taken.
  const int before = Counted::s_alive;
  auto* inner = new Counted();
  auto* outer = new Holder();
  outer->held = inner;
  Core::SmartPointer<Core::Object> pointer(outer);
  pointer = inner;
  EXPECT_EQ(pointer.Get(), inner);
  EXPECT_EQ(inner->GetReferenceCount(), 1u);
  EXPECT_EQ(Counted::s_alive, before + 1);
  pointer.Reset();
  EXPECT_EQ(Counted::s_alive, before);
}

TEST(ObjectModel, RegistryKeepsTheFirstRecordAndNeverGrowsOnLookups) {
  Core::ClassRegistration first("CoreTest::Twice", &CreateFirst);
  Core::ClassRegistration second("CoreTest::Twice", &CreateSecond);
  Core::SmartPointer<Core::Object> made(Core::CreateObject("CoreTest::Twice"));
  ASSERT_NE(made.Get(), nullptr);
  EXPECT_STREQ(made->GetClassName(), "CoreTest::Counted");

  const size_t size = Core::GetClassRegistry().size();
  EXPECT_EQ(Core::CreateObject("NoSuchClass"), nullptr);
  EXPECT_EQ(Core::CreateObject("NoSuchClass"), nullptr);
  EXPECT_EQ(Core::CreateObject(nullptr), nullptr);
  EXPECT_EQ(Core::GetClassRegistry().size(), size);

  Core::SmartPointer<Core::Object> plain(Core::CreateObject("Object"));
  ASSERT_NE(plain.Get(), nullptr);
  EXPECT_STREQ(plain->GetClassName(), "Object");
}
