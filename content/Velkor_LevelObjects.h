#pragma once
// The static object pointers of each level's builders, cleared by the factory's reset. A pointer
// names the object its builder made last; it owns nothing.
namespace Content {

// Sets every object pointer of that level's builders back to null.
void ResetLevel0Objects();
void ResetLevel1Objects();
void ResetLevel2Objects();
void ResetLevel3Objects();
void ResetLevel4Objects();

}  // namespace Content
