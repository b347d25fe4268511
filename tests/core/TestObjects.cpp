#include "tests/core/TestObjects.h"

namespace CoreTest {

int Counted::s_alive = 0;
int GraphNode::s_alive = 0;

VELKOR_IMPLEMENT_CLASS(Counted, "CoreTest::Counted");
VELKOR_IMPLEMENT_CLASS(GraphNode, "CoreTest::GraphNode");
VELKOR_IMPLEMENT_CLASS(CountedHolder, "CoreTest::CountedHolder");

void GraphNode::Save(Core::File& file) {
  Core::WriteValue(file, value);
  file.WriteObject(left.Get());
  file.WriteObject(right.Get());
}

void GraphNode::Load(Core::File& file) {
  Core::ReadValue(file, value);
  Core::ReadObjectPointer(file, left);
  Core::ReadObjectPointer(file, right);
}

}  // namespace CoreTest
