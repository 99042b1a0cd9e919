// The table tool's step parser: any text, each word a step. A step that parses writes
// back to a text that parses to the same step, and applied to a deal it leaves a sound
// table. Input: 1 byte game, then the words.
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/Comun.h"
#include "games/Registro.h"
#include "tests/soak/Oraculo.h"
#include "tools/Pasos.h"

namespace {

bool Iguales(const TPaso& a, const TPaso& b) {
  return a.Tipo == b.Tipo && a.Pila == b.Pila && a.Posicion == b.Posicion && a.Destino == b.Destino;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t largo) {
  if (largo < 1) return 0;
  const TJuegoRegistrado& juego = Juegos()[datos[0] % Juegos().size()];
  std::string_view texto(reinterpret_cast<const char*>(datos + 1), largo - 1);

  TMesa m;
  juego.Preparar(m, 1 + datos[0] / 16);
  m.ProcPreparar = juego.Preparar;
  TOraculo oraculo;
  if (std::string e = oraculo.Comenzar(m); !e.empty()) fuzz::Fallar("al repartir: " + e);
  int aplicados = 0;
  while (!texto.empty()) {
    const std::size_t fin = texto.find_first_of(" \n");
    const std::string_view palabra = texto.substr(0, fin);
    texto.remove_prefix(fin == std::string_view::npos ? texto.size() : fin + 1);
    const auto paso = LeerPaso(palabra);
    if (!paso) continue;
    fuzz::Exigir(paso->Pila >= 0 && paso->Destino >= 0 && paso->Posicion >= -1, "número negativo leído");
    const std::string escrito = EscribirPaso(*paso);
    const auto releido = LeerPaso(escrito);
    fuzz::Exigir(releido && Iguales(*releido, *paso), "el paso escrito no se lee igual: " + escrito);
    if (++aplicados > 200 || m.VentanaPropia.Ganado) continue;
    if (std::string e = oraculo.Aplicar(m, *paso); !e.empty())
      fuzz::Fallar(std::string(juego.Nombre) + ": " + e + "\n  cartoval-mesa jugar " + juego.Modulo +
                   " " + std::to_string(m.NumeroJuego) + " " + oraculo.Pasos());
  }
  if (std::string e = oraculo.DeshacerTodo(m); !e.empty()) fuzz::Fallar("al deshacer todo: " + e);
  return 0;
}
