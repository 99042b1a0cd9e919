#pragma once
// The setup procedure of every game module.
#include <cstdint>

class TMesa;

void PrepararCuatroReyes(TMesa& m, std::int32_t Numero);
void PrepararLasColumnasDelPalacio(TMesa& m, std::int32_t Numero);
void PrepararLosCuatroPatriarcas(TMesa& m, std::int32_t Numero);
void PrepararOrdenReal(TMesa& m, std::int32_t Numero);
void PrepararOrdenamientoDesordenado(TMesa& m, std::int32_t Numero);
void PrepararPinguinoPatagonico(TMesa& m, std::int32_t Numero);
void PrepararRompecabezas(TMesa& m, std::int32_t Numero);
void PrepararSolitarioAnarquico(TMesa& m, std::int32_t Numero);
void PrepararSolitarioAnarquicoII(TMesa& m, std::int32_t Numero);
void PrepararSolitarioDe10A4(TMesa& m, std::int32_t Numero);
void PrepararSolitarioDeLas5Casillas(TMesa& m, std::int32_t Numero);
void PrepararSolitarioDeLosCasi14Montones(TMesa& m, std::int32_t Numero);
void PrepararSolitarioDeLosSieteMontones(TMesa& m, std::int32_t Numero);
void PrepararSquadronEspannol(TMesa& m, std::int32_t Numero);
void PrepararStrup(TMesa& m, std::int32_t Numero);
void PrepararYukonEspannol(TMesa& m, std::int32_t Numero);
