// A carrier knocked or shaken loses its load in front of itself.
#include "match/rules.h"
#include "match/numbers.h"
#include "match/reach.h"
#include "match/snow/shovel.h"

namespace kelmora {

void DropPile(Rules& r, int s) {
  auto& st = r.st;
  // Only the carrying walk loses the load; a throw's follow-through has nothing left to drop.
  if (!(29 < st.animFrame[s] && st.animFrame[s] < 51 && st.carrying[s] == 1)) return;
  const int k = LowestEmptyPile(st);
  if (k < 0) return;  // every slot holds a pile: the load stays on the shovel
  st.pileX[k] = ToInt16(AheadX(st, s));
  st.pileZ[k] = ToInt16(AheadZ(st, s));
  st.carrying[s] = 0;
  st.animFrame[s] = 0;
}

}  // namespace kelmora
