// Start-up of the game, warm: from the exec of the process to its main window shown,
// painted and on the display, with the memory the process holds then. Runs the program
// (built exactly as the game, plus the measurement) and a bare Qt window as a yardstick,
// each once to warm the caches and then `veces` times. Run it under a display (Xvfb).
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

namespace {

long long AhoraNs() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<long long>(t.tv_sec) * 1000000000LL + t.tv_nsec;
}

struct TCorrida {
  double AplicacionMs = 0;  // exec -> application object made
  double PintadoMs = 0;     // exec -> first window painted and on the display
  long long VmHWMKb = 0;
  long long VmRSSKb = 0;
};

bool Correr(const std::string& programa, TCorrida& corrida) {
  int tubo[2];
  if (pipe(tubo) != 0) return false;
  const long long inicio = AhoraNs();
  const pid_t hijo = fork();
  if (hijo < 0) return false;
  if (hijo == 0) {
    dup2(tubo[1], STDOUT_FILENO);
    close(tubo[0]);
    close(tubo[1]);
    execl(programa.c_str(), programa.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  close(tubo[1]);
  std::string salida;
  char bufer[512];
  for (ssize_t n; (n = read(tubo[0], bufer, sizeof bufer)) > 0;)
    salida.append(bufer, static_cast<std::size_t>(n));
  close(tubo[0]);
  int estado = 0;
  waitpid(hijo, &estado, 0);
  long long aplicacion = 0, pintado = 0;
  if (std::sscanf(salida.c_str(), "aplicacion_ns=%lld pintado_ns=%lld vmhwm_kb=%lld vmrss_kb=%lld",
                  &aplicacion, &pintado, &corrida.VmHWMKb, &corrida.VmRSSKb) != 4)
    return false;
  corrida.AplicacionMs = static_cast<double>(aplicacion - inicio) / 1e6;
  corrida.PintadoMs = static_cast<double>(pintado - inicio) / 1e6;
  return WIFEXITED(estado) && WEXITSTATUS(estado) == 0;
}

double Mediana(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  const std::size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

bool Medir(const std::string& nombre, const std::string& programa, int veces) {
  TCorrida corrida;
  if (!Correr(programa, corrida)) {  // warms the page cache and the X server
    std::fprintf(stderr, "%s: no report from %s (is there a display?)\n", nombre.c_str(),
                 programa.c_str());
    return false;
  }
  std::vector<double> aplicacion, pintado, ventanas, hwm, rss;
  for (int i = 0; i < veces; ++i) {
    if (!Correr(programa, corrida)) {
      std::fprintf(stderr, "%s: run %d failed\n", nombre.c_str(), i + 1);
      return false;
    }
    aplicacion.push_back(corrida.AplicacionMs);
    pintado.push_back(corrida.PintadoMs);
    ventanas.push_back(corrida.PintadoMs - corrida.AplicacionMs);
    hwm.push_back(static_cast<double>(corrida.VmHWMKb) / 1024);
    rss.push_back(static_cast<double>(corrida.VmRSSKb) / 1024);
    std::printf("%-9s run %2d: application %6.1f ms, painted %6.1f ms, VmHWM %5.1f MiB, VmRSS %5.1f MiB\n",
                nombre.c_str(), i + 1, corrida.AplicacionMs, corrida.PintadoMs, hwm.back(), rss.back());
  }
  // From the application object on, the time is the program's own windows; before it,
  // loading the libraries and connecting to the display.
  std::printf("%-9s median of %d: painted %.1f ms (min %.1f, max %.1f), application %.1f ms, "
              "windows %.1f ms, VmHWM %.1f MiB, VmRSS %.1f MiB\n",
              nombre.c_str(), veces, Mediana(pintado), *std::min_element(pintado.begin(), pintado.end()),
              *std::max_element(pintado.begin(), pintado.end()), Mediana(aplicacion),
              Mediana(ventanas), Mediana(hwm), Mediana(rss));
  return true;
}

}  // namespace

int main(int argc, char* argv[]) {
  const int veces = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
  const std::filesystem::path carpeta = std::filesystem::read_symlink("/proc/self/exe").parent_path();
  const bool bien = Medir("bare Qt", (carpeta / "cartoval_arranque_vacia").string(), veces) &&
                    Medir("Cartoval", (carpeta / "cartoval_arranque_programa").string(), veces);
  return bien ? 0 : 1;
}
