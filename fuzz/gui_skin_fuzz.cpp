// The ".gui" skin reader against arbitrary bytes: the in-memory parser and the file reader must
// agree, accepted records must be finite regions with their inner edges inside, and a skin image
// made from the file must lay out every record at odd sizes without producing a non-finite part.
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "gui/Gui_GuiImage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<GUI::SkinRecord> parsed;
  std::string error;
  const bool ok = GUI::ParseSkinRecords(data, size, parsed, error);
  if (!ok && (!parsed.empty() || error.empty())) std::abort();
  for (const GUI::SkinRecord& r : parsed) {
    if (!(r.innerLeft >= 0 && r.innerLeft <= r.innerRight && r.innerRight <= r.width)) std::abort();
    if (!(r.innerBottom >= 0 && r.innerBottom <= r.innerTop && r.innerTop <= r.height)) std::abort();
  }

  static const std::string base = "/tmp/velkor_gui_skin_fuzz_" + std::to_string(getpid());
  if (FILE* file = std::fopen((base + ".gui").c_str(), "wb")) {
    if (size > 0) std::fwrite(data, 1, size, file);
    std::fclose(file);
    std::vector<GUI::SkinRecord> read;
    const bool readOk = GUI::ReadSkinFile(base, read, error);
    if (readOk != ok || read.size() != parsed.size()) std::abort();

    // No texture: the layout must still stay finite for every record and size.
    GUI::GuiImage image(base, GUI::Size{37.5f, 3.0f});
    for (uint32_t index = 0; index < image.GetRecordCount() && index < 64; ++index) {
      image.SetRecordIndex(index);
      image.SetWidth(index % 2 ? 0.5f : 300.0f);
      for (uint32_t k = 0; k < 9; ++k) {
        const GUI::TRectangle& part = image.GetPart(k);
        if (!std::isfinite(part.left) || !std::isfinite(part.width) || part.width < 0 || part.height < 0) std::abort();
        for (int c = 0; c < 4; ++c)
          if (!std::isfinite(part.texCoords[c].x) || !std::isfinite(part.texCoords[c].y)) std::abort();
      }
    }
  }
  return 0;
}
