#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "core/Core_File.h"
#include "math/Math_BoundingBox.h"
#include "math/Math_Color.h"
#include "math/Math_Frustum.h"
#include "math/Math_Geometry2D.h"
#include "math/Math_Matrix3x3.h"
#include "math/Math_Matrix4x4.h"
#include "math/Math_Quaternion.h"

using namespace Math;

namespace {
// Records the size of every Write call so the item structure of a stream form can be checked.
class RecordingFile : public Core::MemoryFile {
 public:
  void Write(const void* data, uint32_t count) override {
    writes.push_back(count);
    Core::MemoryFile::Write(data, count);
  }
  std::vector<uint32_t> writes;
};

std::vector<float> Floats(const Core::MemoryFile& file) {
  const Core::MemoryBuffer& buffer = file.GetBuffer();
  std::vector<float> values(buffer.GetSize() / 4);
  std::memcpy(values.data(), buffer.GetData(), values.size() * 4);
  return values;
}

Core::MemoryFile Reader(const Core::MemoryFile& written) {
  return Core::MemoryFile(written.GetBuffer().GetData(), written.GetBuffer().GetSize());
}
}  // namespace

TEST(MathStream, Vector2DIsXThenYAsTwoFloatItems) {
  RecordingFile file;
  WriteVector2D(file, Vector2D(1.5f, -2.25f));
  Vector2D(3.0f, 4.0f).Write(file);
  EXPECT_EQ(file.writes, (std::vector<uint32_t>{4, 4, 4, 4}));
  ASSERT_EQ(file.GetBuffer().GetSize(), 16u);
  const unsigned char expectedFirst[8] = {0x00, 0x00, 0xC0, 0x3F, 0x00, 0x00, 0x10, 0xC0};  // 1.5f, -2.25f
  EXPECT_EQ(std::memcmp(file.GetBuffer().GetData(), expectedFirst, 8), 0);

  Core::MemoryFile reader = Reader(file);
  Vector2D a, b;
  ReadVector2D(reader, a);
  b.Read(reader);
  EXPECT_EQ(a, Vector2D(1.5f, -2.25f));
  EXPECT_EQ(b, Vector2D(3.0f, 4.0f));
  EXPECT_FALSE(reader.HasFailed());
}

TEST(MathStream, ColorIsRGBAAsFourFloatItems) {
  RecordingFile file;
  WriteColor(file, Color(0.25f, 0.5f, 0.75f, 1.0f));
  EXPECT_EQ(file.writes, (std::vector<uint32_t>{4, 4, 4, 4}));
  EXPECT_EQ(Floats(file), (std::vector<float>{0.25f, 0.5f, 0.75f, 1.0f}));

  Core::MemoryFile reader = Reader(file);
  Color color;
  ReadColor(reader, color);
  EXPECT_EQ(color, Color(0.25f, 0.5f, 0.75f, 1.0f));
}

TEST(MathStream, Matrix3x3IsNineFloatItemsInIndexOrder) {
  Matrix3x3 matrix;
  for (int i = 0; i < 9; ++i) matrix.m[i] = static_cast<float>(i) + 0.5f;
  RecordingFile file;
  matrix.Write(file);
  EXPECT_EQ(file.writes, std::vector<uint32_t>(9, 4));
  EXPECT_EQ(Floats(file), (std::vector<float>{0.5f, 1.5f, 2.5f, 3.5f, 4.5f, 5.5f, 6.5f, 7.5f, 8.5f}));

  Core::MemoryFile reader = Reader(file);
  Matrix3x3 read;
  read.Read(reader);
  EXPECT_EQ(read, matrix);
}

TEST(MathStream, Matrix4x4IsOne64ByteBlock) {
  const Matrix4x4 matrix = Matrix4x4::MakeTranslation(1.0f, 2.0f, 3.0f) * Matrix4x4::MakeRotationZ(30.0f);
  RecordingFile file;
  WriteMatrix4x4(file, matrix);
  EXPECT_EQ(file.writes, std::vector<uint32_t>{64});
  EXPECT_EQ(Floats(file)[12], 1.0f);

  Core::MemoryFile reader = Reader(file);
  Matrix4x4 read = Matrix4x4::MakeScale(9.0f, 9.0f, 9.0f);
  ReadMatrix4x4(reader, read);
  EXPECT_EQ(read, matrix);
}

TEST(MathStream, GeometryShapesRoundTrip) {
  RecordingFile file;
  LineSegment2D(Vector2D(1, 2), Vector2D(3, 4)).Write(file);
  Circle2D(Vector2D(5, 6), 7.0f).Write(file);
  Ray2D(Vector2D(8, 9), Vector2D(10, 11)).Write(file);
  Line2D(Vector2D(12, 13), Vector2D(14, 15)).Write(file);
  EXPECT_EQ(file.GetBuffer().GetSize(), 16u + 12u + 16u + 16u);
  EXPECT_EQ(Floats(file), (std::vector<float>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}));

  Core::MemoryFile reader = Reader(file);
  LineSegment2D segment;
  Circle2D circle;
  Ray2D ray;
  Line2D line;
  segment.Read(reader);
  circle.Read(reader);
  ray.Read(reader);
  line.Read(reader);
  EXPECT_EQ(segment.pointB, Vector2D(3, 4));
  EXPECT_EQ(circle.center, Vector2D(5, 6));
  EXPECT_EQ(circle.radius, 7.0f);
  EXPECT_EQ(ray.direction, Vector2D(10, 11));
  EXPECT_EQ(line.point, Vector2D(12, 13));
  EXPECT_FALSE(reader.HasFailed());
}

TEST(MathStream, ThreeDimensionalTypesRoundTrip) {
  Frustum frustum;
  frustum.SetProjection(Matrix4x4::MakePerspective(60.0f, 1.5f, 1.0f, 500.0f));
  BoundingBox box;
  BoundingBox seed;
  seed.corners[0] = Vector3D(1, 2, 3);
  BoundingBox::Enclose(box, {seed}, 0.5f);

  Core::MemoryFile file;
  WriteVector3D(file, Vector3D(1, 2, 3));
  WriteVector4D(file, Vector4D(4, 5, 6, 7));
  WriteQuaternion(file, Quaternion(0.5f, 0.25f, 0.125f, 1.0f));
  WritePlane(file, frustum.planes[Frustum::Left]);
  WriteBoundingBox(file, box);
  WriteFrustum(file, frustum);
  EXPECT_EQ(file.GetBuffer().GetSize(), 4u * (3 + 4 + 4 + 10 + (3 + 24 + 60) + (16 + 60 + 24)));
  // The quaternion is w first.
  EXPECT_EQ(Floats(file)[7], 0.5f);

  Core::MemoryFile reader = Reader(file);
  Vector3D v3;
  Vector4D v4;
  Quaternion q;
  Plane plane;
  BoundingBox readBox;
  Frustum readFrustum;
  ReadVector3D(reader, v3);
  ReadVector4D(reader, v4);
  ReadQuaternion(reader, q);
  ReadPlane(reader, plane);
  ReadBoundingBox(reader, readBox);
  ReadFrustum(reader, readFrustum);
  EXPECT_FALSE(reader.HasFailed());
  EXPECT_EQ(v3.z, 3.0f);
  EXPECT_EQ(v4.w, 7.0f);
  EXPECT_EQ(q.w, 0.5f);
  EXPECT_EQ(q.z, 1.0f);
  EXPECT_EQ(plane.d, frustum.planes[Frustum::Left].d);
  EXPECT_EQ(plane.point.x, frustum.planes[Frustum::Left].point.x);
  EXPECT_EQ(readBox.corners[6].x, box.corners[6].x);
  EXPECT_EQ(readBox.planes[5].d, box.planes[5].d);
  EXPECT_EQ(readFrustum.projection, frustum.projection);
  EXPECT_EQ(readFrustum.corners[7].z, frustum.corners[7].z);
  EXPECT_EQ(readFrustum.planes[Frustum::Far].c, frustum.planes[Frustum::Far].c);
}

TEST(MathStream, TruncatedInputFailsTheStreamAndReadsZeros) {
  const float x = 2.5f;
  Core::MemoryFile reader(&x, 4);  // one float of the two a vector needs
  Vector2D v(9.0f, 9.0f);
  ReadVector2D(reader, v);
  EXPECT_TRUE(reader.HasFailed());
  EXPECT_EQ(v.x, 2.5f);
  EXPECT_EQ(v.y, 0.0f);

  Core::MemoryFile empty;
  Matrix4x4 m = Matrix4x4::MakeScale(2.0f, 2.0f, 2.0f);
  ReadMatrix4x4(empty, m);
  EXPECT_TRUE(empty.HasFailed());
  for (float element : m.m) EXPECT_EQ(element, 0.0f);

  Core::MemoryFile shortMatrix(&x, 4);
  Matrix3x3 m3;
  m3.Read(shortMatrix);
  EXPECT_TRUE(shortMatrix.HasFailed());
  EXPECT_EQ(m3.m[0], 2.5f);
  EXPECT_EQ(m3.m[8], 0.0f);
}
