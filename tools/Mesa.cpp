// juegos, repartir and jugar: the table on the shell.
#include <charconv>
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "games/Registro.h"
#include "tools/Comandos.h"
#include "tools/Pasos.h"

namespace {

int Error(const std::string& mensaje) {
  std::cerr << "cartoval-mesa: " << mensaje << "\n";
  return 2;
}

bool LeerNumeroJuego(const std::string& s, std::int32_t& n) {
  const char* fin = s.data() + s.size();
  auto [p, ec] = std::from_chars(s.data(), fin, n);
  return !s.empty() && ec == std::errc() && p == fin;
}

// Sets the deal up; the deal arms the win check, which runs once like the window's timer.
struct TPartida {
  TMesa Mesa;
  bool Ganado = false;
  void Preparar(const TJuegoRegistrado& juego, std::int32_t numero) {
    juego.Preparar(Mesa, numero);
    Verificar();
  }
  void Verificar() {
    if (Mesa.FinJuegoArmado) Mesa.VerificarFinAhora();
    Ganado = Ganado || Mesa.VentanaPropia.Ganado;
  }
};

}  // namespace

int ComandoJuegos() {
  for (const auto& j : Juegos())
    std::cout << j.Nombre << '\t' << j.Clave << '\t' << j.Modulo << '\t' << j.ContextoAyuda
              << '\n';
  return 0;
}

int ComandoJugar(int argc, char** argv) {
  if (argc < 2) return Error("uso: cartoval-mesa jugar JUEGO NUMERO PASO...");
  const TJuegoRegistrado* juego = BuscarRegistro(argv[0]);
  if (!juego) return Error(std::string("no conozco el juego «") + EscaparTerminal(argv[0]) + "»");
  std::int32_t numero = 0;
  if (!LeerNumeroJuego(argv[1], numero))
    return Error(std::string("el número de juego «") + EscaparTerminal(argv[1]) + "» no es un entero de 32 bits");
  std::vector<std::pair<std::string, TPaso>> pasos;
  for (int i = 2; i < argc; ++i) {
    const auto paso = LeerPaso(argv[i]);
    if (!paso) return Error(std::string("no entiendo el paso «") + EscaparTerminal(argv[i]) + "»");
    pasos.emplace_back(argv[i], *paso);
  }
  TPartida partida;
  partida.Preparar(*juego, numero);
  std::string json = "[";
  for (const auto& [texto, paso] : pasos) {
    const bool hecho = AplicarPaso(partida.Mesa, paso);
    partida.Ganado = partida.Ganado || partida.Mesa.VentanaPropia.Ganado;
    json += (json.size() > 1 ? ",{" : "{") + std::string("\"paso\":\"") + EscaparJson(texto) +
            "\",\"hecho\":" + (hecho ? "true" : "false") + "}";
  }
  json += "]";
  std::cout << MesaEnJson(partida.Mesa, partida.Ganado, json) << '\n';
  return 0;
}

int ComandoRepartir(int argc, char** argv) {
  if (argc != 2) return Error("uso: cartoval-mesa repartir JUEGO NUMERO");
  return ComandoJugar(argc, argv);
}
