#pragma once
// The usual win: all forty cards on the four foundation groups.
#include "engine/Mesa.h"

inline bool CuarentaEnFundaciones(const TGrupo* o, const TGrupo* c, const TGrupo* e,
                                  const TGrupo* b) {
  return TMesa::CartasEnGrupo(o) + TMesa::CartasEnGrupo(c) + TMesa::CartasEnGrupo(e) +
             TMesa::CartasEnGrupo(b) ==
         40;
}
