// Level 1, "Story": the intro cut-scene's backdrop and its three picture groups, laid out for the
// story screen to bring in, animate and fade.
#include "content/Velkor_LevelRows.h"
#include "game/Velkor_StoryClass.h"

namespace Content {

const LevelRows& Level1Rows() {
  const AnimationRow flame{"Animation9", 2, 2, 4, 0.1f};
  const Other flameSize = Scale(0.048f, 0.052f);
  static const LevelRows rows{
      "Velkor_MyLevelFactory_1_1", &NewLevel<StoryClass>, 0.0f, 0.0f,
      {
          {"Story_HUD", 0.0f, -640.0f, -360.0f, 1280, 720},
          {"layer1", 0.0f, -1919.0f, -360.0f, 3838, 1316,
           {
               // class, name, image / font, caption, actor, x, y, z, other
               {kSprite<>, "StoryBack", {{"StoryBack", 1, 1}}, "", 4, 0, 0, 0.0f},
               {kSprite<>, "f2ufo3", {{"Animation3", 1, 1}}, "", 5, 330, 640, 0.0f,
                {Scale(-0.136f, 0.153f), Center(-3, 0)}},
               {kSprite<>, "f1", {{"Animation1", 1, 1}}, "", 6, -318, 635, 0.1f},
               {kSprite<>, "f3", {{"Animation4", 1, 1}}, "", 7, -1302, -212, 0.1f},
               {kSprite<>, "f2", {{"Animation2", 1, 1}}, "", 8, 311, 635, 0.1f},
               {kSprite<>, "car", {{"Animation5", 2, 1, 2, 0.1f}}, "", 9, -1397, -229, 0.2f, {kStill}},
               {kSprite<>, "ufo1", {{"Animation7", 1, 1}}, "", 10, -345, 670, 0.2f, {Scale(0.112f, 0.111f)}},
               {kSprite<>, "ufo2", {{"Animation7", 1, 1}}, "", 10, -43, 621, 0.2f, {Scale(0.136f, 0.133f)}},
               {kSprite<>, "human1", {{"Animation11", 1, 1}}, "", 11, 77, 640, 0.2f, {Scale(0.066f, 0.051f)}},
               {kSprite<>, "human2", {{"Animation11", 1, 1}}, "", 11, 277, 561, 0.2f, {Scale(0.06f, 0.051f)}},
               {kSprite<>, "human3", {{"Animation11", 1, 1}}, "", 11, 460, 619, 0.2f, {Scale(0.056f, 0.043f)}},
               {kSprite<>, "human4", {{"Animation11", 1, 1}}, "", 11, 455, 530, 0.2f, {Scale(0.09f, 0.071f)}},
               {kSprite<>, "human5", {{"Animation11", 1, 1}}, "", 11, 558, 581, 0.2f, {Scale(0.09f, 0.083f)}},
               {kSprite<>, "platform", {{"Animation6", 1, 1}}, "", 12, -1302, -301, 0.2f},
               {kSprite<>, "ufo3", {{"Animation3", 1, 1}}, "", 5, 72, 779, 0.3f, {Scale(0.251f, 0.283f)}},
               {kSprite<>, "light", {{"Animation10", 2, 2, 4}}, "", 13, 331, 699, 0.3f,
                {Rotation(-26.21f), Scale(0.477f, 0.393f)}},
               {kSprite<>, "speedLines", {{"Animation12", 2, 1, 2, 0.1f}}, "", 14, -1281, -211, 0.3f},
               {kSprite<>, "f2ufo2", {{"Animation7", 1, 1}}, "", 10, 559, 624, 0.4f, {Scale(0.18f, 0.179f)}},
               {kSprite<>, "laser", {{"Animation8", 1, 1}}, "", 15, 4, 656, 0.4f,
                {Rotation(59.17f), Scale(0.4f, 0.452f)}},
               {kSprite<>, "f2ufo1", {{"Animation7", 1, 1}}, "", 10, 278, 581, 0.4f, {Scale(0.124f, 0.123f)}},
               {kSprite<>, "flame1", {flame}, "", 16, -127, 605, 0.5f, {flameSize}},
               {kSprite<>, "flame2", {flame}, "", 16, -200, 611, 0.5f, {flameSize}},
               {kSprite<>, "flame3", {flame}, "", 16, -193, 574, 0.5f, {flameSize}},
               {kSprite<>, "f2flame1", {flame}, "", 16, 28, 536, 0.5f, {flameSize}},
               {kSprite<>, "f2flame2", {flame}, "", 16, 133, 523, 0.5f, {flameSize}},
               {kSprite<>, "f2flame3", {flame}, "", 16, 230, 610, 0.5f, {flameSize}},
               {kSprite<>, "f2flame4", {flame}, "", 16, 422, 506, 0.5f, {flameSize}},
               {kSprite<>, "f2flame5", {flame}, "", 16, 582, 489, 0.5f, {flameSize}},
               {kSprite<>, "flame4", {flame}, "", 16, -128, 541, 0.5f, {flameSize}},
               {kSprite<>, "flame5", {flame}, "", 16, -63, 548, 0.5f, {flameSize}},
               {kSprite<>, "child", {{"child", 2, 1, 2}}, "", 17, -536, 519, 0.8f, {Scale(0.592f, 0.52f)}},
               {kSprite<>, "adult", {{"adult", 2, 1, 2}}, "", 18, -584, 532, 0.8f, {Scale(0.6f, 0.538f)}},
           }},
          {"layer2", 869.117f, -640.0f, -360.0f, 1280, 720},
      }};
  return rows;
}

}  // namespace Content
