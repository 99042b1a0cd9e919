// make bench-arranque: the game measured from outside, warm, under a display (Xvfb),
// beside a bare Qt window with one label measured in the same run. The runs of the three
// programs alternate in a shuffled order, so that whatever else the machine does weighs on
// all of them alike:
//   bare Qt          exec -> its window painted and on the display; memory then;
//   Cartoval         exec -> main window painted and on the display; memory then;
//                    Enter in the list -> the game window (1920 x 1080) painted on the display;
//                    "Nuevo Juego" -> the new deal painted on the display, several per run;
//   Cartoval, backs  the same start with 200 photographs of 1600 x 1200 in Reversos/;
//   cartoval-mesa    a whole `repartir`, linked as shipped and with the shared libstdc++.
// Each program runs once to warm the caches first. Medians, with the least and the most;
// for the start, also the median of each round's ratio to the bare window.
// A second argument names another build of the game (with the same measurement linked in,
// e.g. of an older commit), measured alike in the same run, for a before and after.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <map>
#include <numeric>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "bench/CarpetaBench.h"

namespace fs = std::filesystem;

namespace {

long long AhoraNs() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<long long>(t.tv_sec) * 1000000000LL + t.tv_nsec;
}

// Deals timed in each run of the game.
constexpr int kRepartos = 5;

using TInforme = std::map<std::string, std::string>;

// Runs the program with the environment given and reads its line of figures; empty when
// it failed.
TInforme Correr(const std::string& programa, const std::vector<std::string>& entorno,
                long long& inicio) {
  int tubo[2];
  if (pipe(tubo) != 0) return {};
  std::fflush(stdout);
  inicio = AhoraNs();
  const pid_t hijo = fork();
  if (hijo < 0) return {};
  if (hijo == 0) {
    dup2(tubo[1], STDOUT_FILENO);
    close(tubo[0]);
    close(tubo[1]);
    for (const std::string& e : entorno) putenv(const_cast<char*>(e.c_str()));
    execl(programa.c_str(), programa.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  close(tubo[1]);
  std::string salida;
  char bufer[4096];
  for (ssize_t n; (n = read(tubo[0], bufer, sizeof bufer)) > 0;)
    salida.append(bufer, static_cast<std::size_t>(n));
  close(tubo[0]);
  int estado = 0;
  waitpid(hijo, &estado, 0);
  if (!WIFEXITED(estado) || WEXITSTATUS(estado) != 0) return {};
  TInforme informe;
  std::istringstream palabras(salida);
  for (std::string par; palabras >> par;)
    if (const auto igual = par.find('='); igual != std::string::npos)
      informe[par.substr(0, igual)] = par.substr(igual + 1);
  return informe;
}

struct TSerie {
  std::vector<double> v;
  double Mediana() const {
    std::vector<double> o = v;
    std::sort(o.begin(), o.end());
    const std::size_t n = o.size();
    return n == 0 ? 0 : n % 2 ? o[n / 2] : (o[n / 2 - 1] + o[n / 2]) / 2;
  }
  double Menor() const { return v.empty() ? 0 : *std::min_element(v.begin(), v.end()); }
  double Mayor() const { return v.empty() ? 0 : *std::max_element(v.begin(), v.end()); }
};

struct TPrograma {
  std::string Nombre;
  std::string Ejecutable;
  const fs::path* Carpeta;  // the player's files; null: a fresh empty folder each run
  bool Juego;               // also the game window and the deals
  TSerie Pintado, Aplicacion, Ventanas, HWM, RSS, Juego_, Reparto;
};

bool Medir(TPrograma& p, bool anotar) {
  const TCarpetaBench vacia("cartoval-arranque");
  std::vector<std::string> entorno{"CARTOVAL_MEDIR_CARPETA=" +
                                   (p.Carpeta ? *p.Carpeta : vacia.Ruta).string()};
  if (p.Juego) entorno.push_back("CARTOVAL_MEDIR_REPARTOS=" + std::to_string(kRepartos));
  long long inicio = 0;
  const TInforme r = Correr(p.Ejecutable, entorno, inicio);
  const auto ns = [&](const char* clave) {
    const auto i = r.find(clave);
    return i == r.end() ? -1.0 : static_cast<double>(std::stoll(i->second));
  };
  if (ns("pintado_ns") < 0 || (p.Juego && (ns("juego_ns") < 0 || !r.count("repartos_ns")))) {
    std::fprintf(stderr, "%s: no figures from %s (is there a display?)\n", p.Nombre.c_str(),
                 p.Ejecutable.c_str());
    return false;
  }
  if (!anotar) return true;
  p.Pintado.v.push_back((ns("pintado_ns") - static_cast<double>(inicio)) / 1e6);
  p.Aplicacion.v.push_back((ns("aplicacion_ns") - static_cast<double>(inicio)) / 1e6);
  p.Ventanas.v.push_back((ns("pintado_ns") - ns("aplicacion_ns")) / 1e6);
  p.HWM.v.push_back(ns("vmhwm_kb") / 1024);
  p.RSS.v.push_back(ns("vmrss_kb") / 1024);
  if (p.Juego) {
    p.Juego_.v.push_back(ns("juego_ns") / 1e6);
    std::istringstream lista(r.at("repartos_ns"));
    for (std::string uno; std::getline(lista, uno, ',');) p.Reparto.v.push_back(std::stod(uno) / 1e6);
    if (ns("juego_ancho") != 1920 || ns("juego_alto") != 1080)
      std::fprintf(stderr, "%s: the game window was %gx%g, not 1920x1080\n", p.Nombre.c_str(),
                   ns("juego_ancho"), ns("juego_alto"));
  }
  return true;
}

void Linea(const char* que, const TSerie& s, const char* unidad) {
  std::printf("  %-34s %8.2f %s  (%.2f to %.2f, n=%zu)\n", que, s.Mediana(), unidad, s.Menor(),
              s.Mayor(), s.v.size());
}

void Objetivo(const char* que, double valor, double objetivo, const char* unidad) {
  std::printf("  %-44s %7.2f%s  target <= %.2f%s  %s\n", que, valor, unidad, objetivo, unidad,
              valor <= objetivo ? "met" : "MISSED");
}

}  // namespace

// Times `programa repartir Strup 7`, output thrown away, `veces` runs of each alternating.
void MedirMesa(const std::vector<std::pair<const char*, std::string>>& programas, int veces) {
  std::vector<TSerie> series(programas.size());
  for (int i = 0; i <= veces; ++i)
    for (std::size_t k = 0; k < programas.size(); ++k) {
      const std::string& p = programas[k].second;
      std::fflush(stdout);  // or the child would write what is buffered again
      const long long inicio = AhoraNs();
      const pid_t hijo = fork();
      if (hijo == 0) {
        const int nulo = open("/dev/null", O_WRONLY);
        dup2(nulo, STDOUT_FILENO);
        execl(p.c_str(), p.c_str(), "repartir", "Strup", "7", static_cast<char*>(nullptr));
        _exit(127);
      }
      int estado = 0;
      waitpid(hijo, &estado, 0);
      if (i > 0 && WIFEXITED(estado) && WEXITSTATUS(estado) == 0)  // the first run warms up
        series[k].v.push_back(static_cast<double>(AhoraNs() - inicio) / 1e6);
    }
  std::printf("\ncartoval-mesa repartir Strup 7, %d runs each:\n", veces);
  for (std::size_t k = 0; k < programas.size(); ++k) Linea(programas[k].first, series[k], "ms");
}

int main(int argc, char* argv[]) {
  const int veces = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
  const fs::path aqui = fs::read_symlink("/proc/self/exe").parent_path();
  std::printf("Making 200 backs of 1600 x 1200...\n");
  std::fflush(stdout);
  int argcQt = 1;
  QCoreApplication app(argcQt, argv);  // Qt's JPEG writer is a plugin
  const TCarpetaBench conReversos("cartoval-arranque-reversos", 200, {1600, 1200});

  std::vector<TPrograma> programas{
      {"bare Qt", (aqui / "cartoval_arranque_vacia").string(), nullptr, false, {}, {}, {}, {}, {}, {}, {}},
      {"Cartoval", (aqui / "cartoval_arranque_programa").string(), nullptr, true, {}, {}, {}, {}, {}, {}, {}},
      {"Cartoval, 200 backs", (aqui / "cartoval_arranque_programa").string(), &conReversos.Ruta, false,
       {}, {}, {}, {}, {}, {}, {}},
  };
  if (argc > 2)
    programas.push_back({"Cartoval, other build", argv[2], nullptr, true, {}, {}, {}, {}, {}, {}, {}});
  for (TPrograma& p : programas)
    if (!Medir(p, false)) return 1;
  // A new order each round: a program started right after itself finds more of its code
  // still in the processor's caches than one started after another program.
  std::vector<std::size_t> orden(programas.size());
  std::iota(orden.begin(), orden.end(), 0);
  std::mt19937 azar(14);
  // Each build's start against the bare window's of the same round: the load of the
  // machine drifts slowly over a run, and a round's starts follow one another closely.
  std::vector<TSerie> porRonda(programas.size());
  for (int i = 0; i < veces; ++i) {
    std::shuffle(orden.begin(), orden.end(), azar);
    for (const std::size_t k : orden)
      if (!Medir(programas[k], true)) return 1;
    for (std::size_t k = 1; k < programas.size(); ++k)
      porRonda[k].v.push_back(programas[k].Pintado.v.back() / programas[0].Pintado.v.back());
  }

  std::printf("\nMedians of %d runs each (least to most):\n", veces);
  for (const TPrograma& p : programas) {
    std::printf("%s\n", p.Nombre.c_str());
    Linea("exec -> window painted", p.Pintado, "ms");
    Linea("exec -> application object", p.Aplicacion, "ms");
    // Loading the libraries and connecting to the display come before; this is the program's own.
    Linea("application object -> painted", p.Ventanas, "ms");
    Linea("VmRSS at first paint", p.RSS, "MiB");
    Linea("VmHWM at first paint", p.HWM, "MiB");
    if (p.Juego) {
      Linea("Enter -> game window painted", p.Juego_, "ms");
      Linea("Nuevo Juego -> deal painted", p.Reparto, "ms");
    }
  }
  const TPrograma& vacia = programas[0];
  const TPrograma& juego = programas[1];
  const TPrograma& reversos = programas[2];
  std::printf("\nAgainst the targets:\n");
  Objetivo("main window painted / bare Qt window", juego.Pintado.Mediana() / vacia.Pintado.Mediana(),
           1.1, "x");
  Objetivo("the same with 200 backs / bare Qt window",
           reversos.Pintado.Mediana() / vacia.Pintado.Mediana(), 1.1, "x");
  Objetivo("VmRSS at first paint / bare Qt window", juego.RSS.Mediana() / vacia.RSS.Mediana(), 1.2,
           "x");
  Objetivo("VmHWM at first paint / bare Qt window", juego.HWM.Mediana() / vacia.HWM.Mediana(), 1.2,
           "x");
  Objetivo("Enter -> game window painted, 1920x1080", juego.Juego_.Mediana(), 18, " ms");
  Objetivo("Nuevo Juego -> deal painted, 1920x1080", juego.Reparto.Mediana(), 2, " ms");
  if (programas.size() > 3) {
    const TPrograma& otro = programas[3];
    std::printf("  (other build: %.2fx painted, %.2fx VmRSS, %.2fx VmHWM of the bare window)\n",
                otro.Pintado.Mediana() / vacia.Pintado.Mediana(), otro.RSS.Mediana() / vacia.RSS.Mediana(),
                otro.HWM.Mediana() / vacia.HWM.Mediana());
  }
  std::printf("\nPainted / bare Qt window, the median of each round's ratio (least to most):\n");
  for (std::size_t k = 1; k < programas.size(); ++k)
    Linea(programas[k].Nombre.c_str(), porRonda[k], "x");
  MedirMesa({{"static libstdc++ (as built)", (aqui / "cartoval-mesa").string()},
             {"shared libstdc++", (aqui / "cartoval_arranque_mesa_dinamica").string()}},
            200);
  return 0;
}
