#include <lua.hpp>

#include "PhysicsTestSupport.h"
#include "physics/Physics_Force.h"
#include "physics/Physics_JointNail.h"
#include "script/Lua_ScriptEngine.h"

using namespace Physics2D;

namespace {

class PhysicsScriptTest : public PhysicsTest {
 protected:
  void SetUp() override {
    PhysicsTest::SetUp();
    std::string error;
    ASSERT_TRUE(Lua::Initialize(&error)) << error;
    state_ = Lua::GetMainState();
    engine_ = new PhysicsEngine();
    engine_->PushToLua(state_);
    lua_setglobal(state_, "engine");
  }
  void TearDown() override { Lua::Shutdown(); }

  // Runs the chunk protected; returns the error text, empty on success.
  std::string Run(const std::string& source) {
    if (luaL_loadbuffer(state_, source.data(), source.size(), "=test") != 0) {
      std::string error = lua_tostring(state_, -1);
      lua_pop(state_, 1);
      return error;
    }
    std::string error;
    Lua::ProtectedCall(state_, 0, 0, &error);
    return error;
  }

  void SetGlobal(const char* name, Core::Object* object) {
    object->PushToLua(state_);
    lua_setglobal(state_, name);
  }

  lua_State* state_ = nullptr;
  Core::SmartPointer<PhysicsEngine> engine_;
};

}  // namespace

TEST_F(PhysicsScriptTest, EngineTableDrivesBodiesAndSettings) {
  auto body = MakeBody(2.0f, 1.0f);
  SetGlobal("body", body.Get());
  ASSERT_EQ(Run(R"lua(
    engine:AddRigidBody(body)
    assert(engine:GetRigidBody(1) ~= nil)
    assert(engine:SetRigidBodyOrientation(1, 90) == 1)
    assert(engine:SetRigidBodyOrientation(5, 90) == 0)
    engine:SetScale(0)
    assert(engine:GetScale() == 1)
    engine:SetScale(-1)
    assert(engine:GetScale() == 1, "a negative scale is refused")
    engine:SetScale(2)
    assert(engine:SetRigidBodyVelocity(1, CreateVector()) == 1)
    local v = CreateVector(); v.X = 3; v.Y = 4
    engine:SetRigidBodyVelocity(1, v)
    local out = CreateVector()
    assert(engine:GetRigidBodyVelocity(1, out) == 1 and out.X == 3 and out.Y == 4)
    local own = body:GetVelocity()
    assert(own.X == 6 and own.Y == 8 and own.className == "Vector2D")
    engine:SetAccuracy(2.9)
    assert(engine:GetAccuracy() == 10)
    engine:SetAccuracy(150)
    assert(engine:GetAccuracy() == 150)
    engine:SetAccuracy(-5)
    assert(engine:GetAccuracy() == 10)
    engine:SetMaximumSimulationStep(0)
    engine:SetMaximumSimulationStep(-1)
    assert(math.abs(engine:GetMaximumSimulationStep() - 0.02) < 1e-6)
    engine:Update(0.05)
    assert(math.abs(engine:GetSimulationInverseStep() - 50) < 1e-3)
    assert(engine:GetMinusInfinity() == -engine:GetPlusInfinity())
    assert(engine:GetStaticBody() ~= nil)
    local list = engine:GetRigidBodyList()
    assert(list[1] ~= nil)
    assert(engine:CloneRigidBody() == nil)
    engine:AddRigidBody()  -- too few arguments: nothing happens
  )lua"),
            "");
  EXPECT_FLOAT_EQ(body->GetOrientation(), 90.0f);
  const std::string error = Run("engine:RemoveRigidBody()");
  EXPECT_NE(error.find("number expected"), std::string::npos) << error;
}

TEST_F(PhysicsScriptTest, BodyMassPropertiesJointAndForceTables) {
  auto body = MakeBody(2.0f, 1.0f);
  const RigidBodyHandle handle = engine_->AddRigidBody(body);
  Joint* joint = engine_->AddJoint(0, handle, new JointNail());
  Core::SmartPointer<Force> gravity(new GravityForce());
  SetGlobal("body", body.Get());
  SetGlobal("joint", joint);
  SetGlobal("gravity", gravity.Get());
  ASSERT_EQ(Run(R"lua(
    local p = CreatePoint(); p.X = 1; p.Y = 2
    body:SetPosition(p)
    local q = body:GetPosition()
    assert(q.X == 1 and q.Y == 2 and q.className == "Point2D")
    body:SetOrientation(30)
    assert(math.abs(body:GetOrientation() - 30) < 1e-4)
    local m = body:GetMatrix()
    assert(math.abs(m.Ma02 - 1) < 1e-6 and math.abs(m.Ma12 - 2) < 1e-6)
    local c = body:GetCenterOfMass()
    assert(math.abs(c.X - 1) < 1e-6)

    local mass = body:GetMassProperties()
    assert(mass:GetMass() == 2 and mass:GetInverseMass() == 0.5)
    mass:SetMass(4)
    assert(mass:GetInverseMass() == 0.25)
    mass:SetInertia(0)
    assert(mass:GetInverseInertia() == 0)
    body:SetMassProperties(mass)
    assert(body:GetMassProperties():GetMass() == 4)
    assert(engine:GetMassProperties(1, mass) == 1)

    assert(joint:IsActive() == 1 and joint:IsLimit() == 1)
    joint:SetActive(0)
    assert(joint:IsActive() == 0 and joint:IsLimit() == 0)
    assert(joint:GetBody2():GetPosition().X == 1)

    local id = body:AddForce(gravity)
    assert(id == 0)
    assert(gravity:GetBody() ~= nil)
    gravity:Update(0.5)
    assert(gravity:GetTime() == 0.5)
    local f = gravity:GetEvaluatedForce()
    assert(math.abs(f.Y + 4 * 9.8) < 1e-4 and f.className == "Vector2D")
    assert(gravity:GetEvaluatedTorque() == 0)
    gravity:SetTimeToLive(3)
    assert(gravity:GetTimeToLive() == 3)
    assert(gravity:GetVector().X == 0)
    assert(body:RemoveForce(0) == 1 and body:RemoveForce(0) == 0)
    assert(body:RemoveAllForces() == 1)
    assert(engine:RemoveRigidBodyForce(1, 7) == 0)
    gravity:Evaluate()  -- too few arguments: nothing happens
  )lua"),
            "");
  EXPECT_FALSE(joint->IsActive());
  // A force userdata is not a body.
  const std::string error = Run("gravity:Initialize(gravity)");
  EXPECT_NE(error.find("RigidBody expected"), std::string::npos) << error;
}
