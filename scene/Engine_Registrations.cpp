// The engine's classes that streams create by name, registered at start-up in this order.
#include "scene/Engine_Node.h"
#include "scene/Engine_Sprite.h"
#include "scene/Engine_Text.h"

namespace Engine {

VELKOR_IMPLEMENT_CLASS(Node, "Engine::Node");
VELKOR_IMPLEMENT_CLASS(TransformationGroup, "Engine::TransformationGroup");
VELKOR_IMPLEMENT_CLASS(SpriteAnimation, "Engine::SpriteAnimation");
VELKOR_IMPLEMENT_CLASS(Sprite, "Engine::Sprite");
VELKOR_IMPLEMENT_CLASS(Group, "Engine::Group");
VELKOR_IMPLEMENT_CLASS(Text, "Engine::Text");

}  // namespace Engine
