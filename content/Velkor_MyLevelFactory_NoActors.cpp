// Stands in for the collision actors until their data joins the build: no actor is made, so the
// sprites' collision bodies have no shapes and nothing touches.
#include "content/Velkor_MyLevelFactory.h"

void MyLevelFactory::CreateCollisionActors() {
  for (auto& actor : collisionActors) actor = nullptr;
}
