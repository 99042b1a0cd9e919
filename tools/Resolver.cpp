// resolver and sondear: whether a position can be won, and how the deals of a game fare.
#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdint>
#include <iostream>
#include <string>
#include <vector>

#include "games/Registro.h"
#include "solver/Solucionador.h"
#include "tools/Comandos.h"
#include "tools/Pasos.h"

namespace {

int Error(const std::string& mensaje) {
  std::cerr << "cartoval-mesa: " << mensaje << "\n";
  return 2;
}

template <class T>
bool LeerEntero(const std::string& s, T& n) {
  const char* fin = s.data() + s.size();
  auto [p, ec] = std::from_chars(s.data(), fin, n);
  return !s.empty() && ec == std::errc() && p == fin;
}

// The limit options in front of the other arguments; an empty string when all is well.
std::string LeerLimites(int& argc, char**& argv, TLimites& limites, bool* detalle = nullptr) {
  while (argc > 0 && std::string(argv[0]).rfind("--", 0) == 0) {
    const std::string opcion = argv[0];
    if (detalle && opcion == "--detalle") {
      *detalle = true;
      --argc;
      ++argv;
      continue;
    }
    if (opcion != "--limite-ms" && opcion != "--limite-memoria")
      return "no conozco la opción «" + opcion + "»";
    if (argc < 2) return "falta el valor de " + opcion;
    const std::string valor = argv[1];
    if (opcion == "--limite-ms") {
      if (!LeerEntero(valor, limites.Milisegundos) || limites.Milisegundos < 1 ||
          limites.Milisegundos > 86400000)
        return "el límite de tiempo «" + valor + "» no es un número de milisegundos válido";
    } else if (!LeerEntero(valor, limites.MemoriaMiB) || limites.MemoriaMiB < 1 ||
               limites.MemoriaMiB > 65536) {
      return "el límite de memoria «" + valor + "» no es un número de MiB válido";
    }
    argc -= 2;
    argv += 2;
  }
  return {};
}

std::string PasosEnJson(const std::vector<TPaso>& pasos) {
  std::string r = "[";
  for (const TPaso& p : pasos) r += (r.size() > 1 ? ",\"" : "\"") + EscribirPaso(p) + "\"";
  return r + "]";
}

// Nearest rank: the smallest time at or above the given share of the deals.
std::int64_t Percentil(std::vector<std::int64_t> v, double parte) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  auto rango = static_cast<std::size_t>(parte * static_cast<double>(v.size()) + 0.999999);
  rango = std::clamp<std::size_t>(rango, 1, v.size());
  return v[rango - 1];
}

struct TResumen {
  std::vector<std::int64_t> Ms;
  std::uint64_t Posiciones = 0;
  std::size_t MemoriaPico = 0;
  void Agregar(const TResultado& r) {
    Ms.push_back(r.Milisegundos);
    Posiciones += r.Posiciones;
    MemoriaPico = std::max(MemoriaPico, r.MemoriaPico);
  }
};

void EscribirFila(const std::string& nombre, const TResumen& s, std::size_t total) {
  std::int64_t suma = 0;
  for (auto ms : s.Ms) suma += ms;
  const double porSegundo =
      suma > 0 ? static_cast<double>(s.Posiciones) * 1000.0 / static_cast<double>(suma) : 0.0;
  char linea[256];
  std::snprintf(linea, sizeof linea, "%s\t%zu\t%.1f\t%lld\t%lld\t%lld\t%.0f\t%.1f\n",
                nombre.c_str(), s.Ms.size(),
                total ? 100.0 * static_cast<double>(s.Ms.size()) / static_cast<double>(total) : 0.0,
                static_cast<long long>(Percentil(s.Ms, 0.5)),
                static_cast<long long>(Percentil(s.Ms, 0.99)),
                static_cast<long long>(s.Ms.empty() ? 0 : *std::max_element(s.Ms.begin(), s.Ms.end())),
                porSegundo, static_cast<double>(s.MemoriaPico) / (1024.0 * 1024.0));
  std::cout << linea;
}

}  // namespace

int ComandoResolver(int argc, char** argv) {
  TLimites limites;
  if (const std::string e = LeerLimites(argc, argv, limites); !e.empty()) return Error(e);
  if (argc < 2)
    return Error(
        "uso: cartoval-mesa resolver [--limite-ms N] [--limite-memoria MiB] JUEGO NUMERO "
        "[PASO...]");
  const TJuegoRegistrado* juego = BuscarRegistro(argv[0]);
  if (!juego) return Error(std::string("no conozco el juego «") + argv[0] + "»");
  std::int32_t numero = 0;
  if (!LeerEntero(std::string(argv[1]), numero))
    return Error(std::string("el número de juego «") + argv[1] + "» no es un entero de 32 bits");
  std::vector<TPaso> pasos;
  for (int i = 2; i < argc; ++i) {
    const auto paso = LeerPaso(argv[i]);
    if (!paso) return Error(std::string("no entiendo el paso «") + argv[i] + "»");
    pasos.push_back(*paso);
  }
  const TResultado r = Resolver(juego->Preparar, numero, pasos, limites);
  std::cout << "{\"juego\":\"" << EscaparJson(juego->Nombre) << "\",\"clave\":\""
            << EscaparJson(juego->Clave) << "\",\"numero\":" << r.Numero
            << ",\"veredicto\":\"" << TextoVeredicto(r.Veredicto)
            << "\",\"pasos\":" << PasosEnJson(r.Pasos) << ",\"posiciones\":" << r.Posiciones
            << ",\"ms\":" << r.Milisegundos << "}\n";
  return 0;
}

int ComandoSondear(int argc, char** argv) {
  TLimites limites;
  bool detalle = false;
  if (const std::string e = LeerLimites(argc, argv, limites, &detalle); !e.empty())
    return Error(e);
  if (argc != 3)
    return Error(
        "uso: cartoval-mesa sondear [--limite-ms N] [--limite-memoria MiB] [--detalle] JUEGO "
        "DESDE HASTA");
  const TJuegoRegistrado* juego = BuscarRegistro(argv[0]);
  if (!juego) return Error(std::string("no conozco el juego «") + argv[0] + "»");
  std::int32_t desde = 0;
  std::int32_t hasta = 0;
  if (!LeerEntero(std::string(argv[1]), desde) || desde < 1)
    return Error(std::string("el número «") + argv[1] + "» no es un número de juego positivo");
  if (!LeerEntero(std::string(argv[2]), hasta) || hasta < desde)
    return Error(std::string("el número «") + argv[2] + "» no cierra el intervalo");

  TResumen resumen[3];
  TResumen total;
  std::vector<std::int32_t> fallidos;
  std::vector<std::int32_t> reanudados;  // the table did what the search had not foreseen
  for (std::int64_t n = desde; n <= hasta; ++n) {
    const auto numero = static_cast<std::int32_t>(n);
    const TResultado r = Resolver(juego->Preparar, numero, {}, limites);
    resumen[static_cast<int>(r.Veredicto)].Agregar(r);
    total.Agregar(r);
    const bool gana = r.Veredicto != TVeredicto::Ganable ||
                      LineaGana(juego->Preparar, numero, {}, r.Pasos);
    if (!gana) fallidos.push_back(numero);
    if (r.Desajustes > 0) reanudados.push_back(numero);
    if (detalle)
      std::cout << numero << '\t' << TextoVeredicto(r.Veredicto) << '\t' << r.Milisegundos
                << '\t' << r.Posiciones << '\t' << r.Pasos.size() << '\t' << r.MemoriaPico
                << std::endl;
  }
  std::cout << "veredicto\trepartos\t%\tmediana_ms\tp99_ms\tmax_ms\tposiciones/s\tmemoria_MiB\n";
  for (TVeredicto v : {TVeredicto::Ganable, TVeredicto::SinSolucion, TVeredicto::NoSeSabe})
    EscribirFila(TextoVeredicto(v), resumen[static_cast<int>(v)], total.Ms.size());
  EscribirFila("total", total, total.Ms.size());
  for (std::int32_t n : fallidos)
    std::cerr << "cartoval-mesa: la línea ganadora del juego " << n << " no gana\n";
  for (std::int32_t n : reanudados)
    std::cerr << "cartoval-mesa: en el juego " << n
              << " la mesa no hizo lo previsto y la búsqueda se repitió jugándolo todo\n";
  return fallidos.empty() ? 0 : 1;
}
