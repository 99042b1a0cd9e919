#pragma once
// Pile groups: the piles of one kind, with their stacking and empty-pile rules,
// foundation mark and the groups whose cards they accept.
#include <cstdint>
#include <string>
#include <vector>

struct TPila;

enum TRelacion : std::uint8_t {
  rpMismoPalo = 0,
  rpOtroPalo = 1,
  rpOtroPar = 2,  // Oros/Copas against Espadas/Bastos
  rpCualquiera = 3,
};

constexpr std::int8_t PasoLibre = -127;  // any rank

struct TRegla {
  std::uint8_t Relacion;
  std::int8_t Paso;
};

struct TGrupo {
  std::vector<TGrupo*> Origenes;  // newest first
  std::string NombreGrupo;        // at most 5 characters
  bool CicloArriba = false;
  bool CicloAbajo = false;
  std::vector<TRegla> ReglasVacia;  // newest first
  bool VariasCartas = false;
  bool TramoLibre = false;
  bool EsFundacion = false;
  std::uint8_t NumeroFundacion = 0;
  std::uint8_t PaloFundacion = 0;
  int DespX = 0;
  int DespY = 0;
  std::vector<TRegla> ReglasApilado;  // newest first
  std::uint8_t Capacidad = 255;
  std::vector<TPila*> Pilas;  // newest first
};
