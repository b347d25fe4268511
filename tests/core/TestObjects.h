#pragma once
// Small registered classes for the object-model and stream tests.
#include "core/Core_File.h"
#include "core/Core_Object.h"

namespace CoreTest {

// Counts its live instances so tests can see when the counting scheme deletes one.
class Counted : public Core::Object {
 public:
  Counted() { ++s_alive; }
  Counted(const Counted& other) : Core::Object(other), value(other.value) { ++s_alive; }
  ~Counted() override { --s_alive; }
  VELKOR_DECLARE_CLASS(Counted);

  int value = 0;
  static int s_alive;
};

// A node of an object graph: a value and up to two references to other nodes.
class GraphNode : public Core::Object {
 public:
  GraphNode() { ++s_alive; }
  GraphNode(const GraphNode& other) : Core::Object(other), value(other.value) { ++s_alive; }
  ~GraphNode() override { --s_alive; }
  VELKOR_DECLARE_CLASS(GraphNode);
  void Save(Core::File& file) override;
  void Load(Core::File& file) override;

  int32_t value = 0;
  Core::SmartPointer<GraphNode> left;
  Core::SmartPointer<GraphNode> right;
  static int s_alive;
};

// Holds a reference whose slot accepts only Counted objects.
class CountedHolder : public Core::Object {
 public:
  VELKOR_DECLARE_CLASS(CountedHolder);
  void Save(Core::File& file) override { file.WriteObject(counted.Get()); }
  void Load(Core::File& file) override { Core::ReadObjectPointer(file, counted); }

  Core::SmartPointer<Counted> counted;
};

}  // namespace CoreTest
