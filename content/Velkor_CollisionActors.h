#pragma once
// The 105 collision actors of the game's sprites: per sprite animation and frame a bounding
// rectangle (with its three mirrored variants) and, for some sprites, an outline of line segments
// or circles. Every level build creates all of them anew, in index order
// (MyLevelFactory::CreateCollisionActors, defined with the data), and registers each with the
// game, so that an actor's index is also its position in the game's collision assets. The
// factory's slots only refer to the actors: the game owns them from registration on. Without a
// running game an actor cannot be registered: it is deleted and its slot left null.
#include <cstdint>

#include "content/Velkor_MyLevelFactory.h"

// A new actor with the data of that index, owned by the caller and not registered; null for an
// index out of range. Throws std::bad_alloc when memory runs out (nothing leaks).
Collision2D::CollisionActor* BuildCollisionActor(uint32_t index);

// The builder of each actor: builds it, stores it in the factory's slot and registers it with the
// game.
void CreateCollisionActor0(MyLevelFactory* factory);
void CreateCollisionActor1(MyLevelFactory* factory);
void CreateCollisionActor2(MyLevelFactory* factory);
void CreateCollisionActor3(MyLevelFactory* factory);
void CreateCollisionActor4(MyLevelFactory* factory);
void CreateCollisionActor5(MyLevelFactory* factory);
void CreateCollisionActor6(MyLevelFactory* factory);
void CreateCollisionActor7(MyLevelFactory* factory);
void CreateCollisionActor8(MyLevelFactory* factory);
void CreateCollisionActor9(MyLevelFactory* factory);
void CreateCollisionActor10(MyLevelFactory* factory);
void CreateCollisionActor11(MyLevelFactory* factory);
void CreateCollisionActor12(MyLevelFactory* factory);
void CreateCollisionActor13(MyLevelFactory* factory);
void CreateCollisionActor14(MyLevelFactory* factory);
void CreateCollisionActor15(MyLevelFactory* factory);
void CreateCollisionActor16(MyLevelFactory* factory);
void CreateCollisionActor17(MyLevelFactory* factory);
void CreateCollisionActor18(MyLevelFactory* factory);
void CreateCollisionActor19(MyLevelFactory* factory);
void CreateCollisionActor20(MyLevelFactory* factory);
void CreateCollisionActor21(MyLevelFactory* factory);
void CreateCollisionActor22(MyLevelFactory* factory);
void CreateCollisionActor23(MyLevelFactory* factory);
void CreateCollisionActor24(MyLevelFactory* factory);
void CreateCollisionActor25(MyLevelFactory* factory);
void CreateCollisionActor26(MyLevelFactory* factory);
void CreateCollisionActor27(MyLevelFactory* factory);
void CreateCollisionActor28(MyLevelFactory* factory);
void CreateCollisionActor29(MyLevelFactory* factory);
void CreateCollisionActor30(MyLevelFactory* factory);
void CreateCollisionActor31(MyLevelFactory* factory);
void CreateCollisionActor32(MyLevelFactory* factory);
void CreateCollisionActor33(MyLevelFactory* factory);
void CreateCollisionActor34(MyLevelFactory* factory);
void CreateCollisionActor35(MyLevelFactory* factory);
void CreateCollisionActor36(MyLevelFactory* factory);
void CreateCollisionActor37(MyLevelFactory* factory);
void CreateCollisionActor38(MyLevelFactory* factory);
void CreateCollisionActor39(MyLevelFactory* factory);
void CreateCollisionActor40(MyLevelFactory* factory);
void CreateCollisionActor41(MyLevelFactory* factory);
void CreateCollisionActor42(MyLevelFactory* factory);
void CreateCollisionActor43(MyLevelFactory* factory);
void CreateCollisionActor44(MyLevelFactory* factory);
void CreateCollisionActor45(MyLevelFactory* factory);
void CreateCollisionActor46(MyLevelFactory* factory);
void CreateCollisionActor47(MyLevelFactory* factory);
void CreateCollisionActor48(MyLevelFactory* factory);
void CreateCollisionActor49(MyLevelFactory* factory);
void CreateCollisionActor50(MyLevelFactory* factory);
void CreateCollisionActor51(MyLevelFactory* factory);
void CreateCollisionActor52(MyLevelFactory* factory);
void CreateCollisionActor53(MyLevelFactory* factory);
void CreateCollisionActor54(MyLevelFactory* factory);
void CreateCollisionActor55(MyLevelFactory* factory);
void CreateCollisionActor56(MyLevelFactory* factory);
void CreateCollisionActor57(MyLevelFactory* factory);
void CreateCollisionActor58(MyLevelFactory* factory);
void CreateCollisionActor59(MyLevelFactory* factory);
void CreateCollisionActor60(MyLevelFactory* factory);
void CreateCollisionActor61(MyLevelFactory* factory);
void CreateCollisionActor62(MyLevelFactory* factory);
void CreateCollisionActor63(MyLevelFactory* factory);
void CreateCollisionActor64(MyLevelFactory* factory);
void CreateCollisionActor65(MyLevelFactory* factory);
void CreateCollisionActor66(MyLevelFactory* factory);
void CreateCollisionActor67(MyLevelFactory* factory);
void CreateCollisionActor68(MyLevelFactory* factory);
void CreateCollisionActor69(MyLevelFactory* factory);
void CreateCollisionActor70(MyLevelFactory* factory);
void CreateCollisionActor71(MyLevelFactory* factory);
void CreateCollisionActor72(MyLevelFactory* factory);
void CreateCollisionActor73(MyLevelFactory* factory);
void CreateCollisionActor74(MyLevelFactory* factory);
void CreateCollisionActor75(MyLevelFactory* factory);
void CreateCollisionActor76(MyLevelFactory* factory);
void CreateCollisionActor77(MyLevelFactory* factory);
void CreateCollisionActor78(MyLevelFactory* factory);
void CreateCollisionActor79(MyLevelFactory* factory);
void CreateCollisionActor80(MyLevelFactory* factory);
void CreateCollisionActor81(MyLevelFactory* factory);
void CreateCollisionActor82(MyLevelFactory* factory);
void CreateCollisionActor83(MyLevelFactory* factory);
void CreateCollisionActor84(MyLevelFactory* factory);
void CreateCollisionActor85(MyLevelFactory* factory);
void CreateCollisionActor86(MyLevelFactory* factory);
void CreateCollisionActor87(MyLevelFactory* factory);
void CreateCollisionActor88(MyLevelFactory* factory);
void CreateCollisionActor89(MyLevelFactory* factory);
void CreateCollisionActor90(MyLevelFactory* factory);
void CreateCollisionActor91(MyLevelFactory* factory);
void CreateCollisionActor92(MyLevelFactory* factory);
void CreateCollisionActor93(MyLevelFactory* factory);
void CreateCollisionActor94(MyLevelFactory* factory);
void CreateCollisionActor95(MyLevelFactory* factory);
void CreateCollisionActor96(MyLevelFactory* factory);
void CreateCollisionActor97(MyLevelFactory* factory);
void CreateCollisionActor98(MyLevelFactory* factory);
void CreateCollisionActor99(MyLevelFactory* factory);
void CreateCollisionActor100(MyLevelFactory* factory);
void CreateCollisionActor101(MyLevelFactory* factory);
void CreateCollisionActor102(MyLevelFactory* factory);
void CreateCollisionActor103(MyLevelFactory* factory);
void CreateCollisionActor104(MyLevelFactory* factory);
