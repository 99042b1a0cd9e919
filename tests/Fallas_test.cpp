// File faults in the program's folder: a read-only folder, names taken by the wrong kind of
// entry, a full disk and every step of a write refused. Nothing may be lost or damaged,
// and nothing may stop the program.
#include <linux/capability.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <grp.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "play/Archivos.h"
#include "play/Configuracion.h"
#include "scores/AdminPuntuaciones.h"
#include "tests/CarpetaTemporal.h"

namespace fs = std::filesystem;

namespace {

const std::string Clave = "CuatroReyes";

// Root passes file permissions through three capabilities; without them in its effective
// set it meets a read-only folder as anyone would. They stay permitted and come back.
class SinPasarPermisos {
 public:
  SinPasarPermisos() {
    __user_cap_header_struct cabecera{_LINUX_CAPABILITY_VERSION_3, 0};
    if (::syscall(SYS_capget, &cabecera, antes_) != 0) return;
    __user_cap_data_struct ahora[2] = {antes_[0], antes_[1]};
    for (unsigned c : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER})
      ahora[c / 32].effective &= ~(1u << (c % 32));
    activo_ = ::syscall(SYS_capset, &cabecera, ahora) == 0;
  }
  ~SinPasarPermisos() {
    __user_cap_header_struct cabecera{_LINUX_CAPABILITY_VERSION_3, 0};
    if (activo_) ::syscall(SYS_capset, &cabecera, antes_);
  }
  SinPasarPermisos(const SinPasarPermisos&) = delete;
  SinPasarPermisos& operator=(const SinPasarPermisos&) = delete;

 private:
  __user_cap_data_struct antes_[2]{};
  bool activo_ = false;
};

bool PuedeCrearEn(const fs::path& carpeta) {
  const fs::path sonda = carpeta / ".sonda";
  int fd = ::open(sonda.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  ::close(fd);
  ::unlink(sonda.c_str());
  return true;
}

// The next write of any file stops at `limite` bytes, as a full disk does; no signal.
class DiscoLleno {
 public:
  explicit DiscoLleno(rlim_t limite) {
    ::getrlimit(RLIMIT_FSIZE, &antes_);
    senal_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit ahora = antes_;
    ahora.rlim_cur = limite;
    ::setrlimit(RLIMIT_FSIZE, &ahora);
  }
  ~DiscoLleno() {
    ::setrlimit(RLIMIT_FSIZE, &antes_);
    std::signal(SIGXFSZ, senal_);
  }
  DiscoLleno(const DiscoLleno&) = delete;
  DiscoLleno& operator=(const DiscoLleno&) = delete;

 private:
  rlimit antes_{};
  void (*senal_)(int) = SIG_DFL;
};

class FallaInyectada {
 public:
  explicit FallaInyectada(TFallaEscritura falla) { PonerFallaEscritura(std::move(falla)); }
  ~FallaInyectada() { PonerFallaEscritura({}); }
  FallaInyectada(const FallaInyectada&) = delete;
  FallaInyectada& operator=(const FallaInyectada&) = delete;
};

// Runs `accion` in a child process as user and group 65534, the way a player without
// privileges runs the game; its exit status is the answer (0 yes, 1 no, above: could not
// become that user).
constexpr uid_t Jugador = 65534;
int ComoJugador(const std::function<bool()>& accion) {
  const pid_t hijo = ::fork();
  if (hijo == 0) {
    if (::setgroups(0, nullptr) != 0 || ::setgid(Jugador) != 0 || ::setuid(Jugador) != 0) ::_exit(100);
    ::_exit(accion() ? 0 : 1);
  }
  int estado = 0;
  if (hijo < 0 || ::waitpid(hijo, &estado, 0) != hijo) return 101;
  return WIFEXITED(estado) ? WEXITSTATUS(estado) : 102;
}

struct stat Estado(const fs::path& archivo) {
  struct stat st {};
  EXPECT_EQ(::lstat(archivo.c_str(), &st), 0) << archivo;
  return st;
}

std::set<std::string> Contenido(const fs::path& carpeta) {
  std::set<std::string> nombres;
  std::error_code ec;
  for (fs::directory_iterator it(carpeta, ec), fin; !ec && it != fin; it.increment(ec))
    nombres.insert(it->path().filename().string());
  return nombres;
}

std::vector<std::uint16_t> Puntos(const std::vector<TFilaPuntuacion>& filas) {
  std::vector<std::uint16_t> p;
  for (const auto& f : filas) p.push_back(f.Puntos);
  return p;
}

class Fallas : public CarpetaTemporal {
 protected:
  void TearDown() override {
    std::error_code ec;
    for (const fs::path& c : {Carpeta, Carpeta / "Records"})
      fs::permissions(c, fs::perms::owner_all, fs::perm_options::add, ec);
    CarpetaTemporal::TearDown();
  }
  fs::path Tabla() const { return ArchivoPuntuaciones(Carpeta, Clave); }
  // A table and a settings record as earlier runs left them.
  void Preparar(std::initializer_list<int> puntos) {
    for (int p : puntos) {
      const auto pts = static_cast<std::uint16_t>(p);
      ASSERT_TRUE(GuardarPuntuacion(Carpeta, Clave, "Ana" + std::to_string(p), p, pts,
                                    PosicionEnTabla(Carpeta, Clave, pts)));
    }
    TRegistroConfiguracion r;
    r.PonerReversoActual("k58203361Defecto3");
    ASSERT_TRUE(GuardarConfiguracion(Carpeta, r));
  }
  // A won game as the end of a game saves it; false when the result was not stored.
  bool Ganar(std::uint16_t puntos, const std::string& clave = Clave) {
    const std::uint8_t p = PosicionEnTabla(Carpeta, clave, puntos);
    return p != 0 && GuardarPuntuacion(Carpeta, clave, "Nuevo", 77, puntos, p);
  }
  bool ElegirReverso(const std::string& identificador) {
    TRegistroConfiguracion r = LeerConfiguracion(Carpeta);
    r.PonerReversoActual(identificador);
    return GuardarConfiguracion(Carpeta, r);
  }
};

}  // namespace

TEST_F(Fallas, CarpetaDeSoloLecturaConArchivosEscribiblesSeGuardaEnSitio) {
  Preparar({30, 60, 90});
  // A settings file longer than its record: rewritten in place, it is cut to the record.
  Escribir(Carpeta / "ZARP.bin", Leer(Carpeta / "ZARP.bin") + std::string(44, 'x'));
  const auto antes = Contenido(Carpeta), antesRecords = Contenido(Carpeta / "Records");
  const ino_t inodoTabla = Estado(Tabla()).st_ino, inodoAjustes = Estado(Carpeta / "ZARP.bin").st_ino;
  fs::permissions(Carpeta / "Records", fs::perms(0555));
  fs::permissions(Carpeta, fs::perms(0555));
  {
    SinPasarPermisos sinPermisos;
    if (PuedeCrearEn(Carpeta)) GTEST_SKIP() << "this system lets the tests write a read-only folder";

    EXPECT_EQ(LeerConfiguracion(Carpeta).ReversoActual(), "k58203361Defecto3");
    EXPECT_TRUE(ElegirReverso("k58203361Defecto2"));
    EXPECT_EQ(LeerConfiguracion(Carpeta).ReversoActual(), "k58203361Defecto2");

    EXPECT_EQ(PosicionEnTabla(Carpeta, Clave, 45), 2);
    EXPECT_TRUE(Ganar(45));
    EXPECT_EQ(Puntos(CargarPuntuaciones(Carpeta, Clave)), (std::vector<std::uint16_t>{30, 45, 60, 90}));
    // A refused write in place changes nothing either: refused when room for the new
    // record is asked, or right after it was given (the room goes again).
    const std::string tabla = Leer(Tabla());
    for (int vez : {1, 2}) {
      int veces = 0;
      FallaInyectada falla([&](TPasoEscritura paso, const fs::path&) {
        return paso == TPasoEscritura::Escribir && ++veces == vez;
      });
      EXPECT_FALSE(Ganar(20));
      EXPECT_EQ(veces, vez);
      EXPECT_EQ(Leer(Tabla()), tabla);
    }
    // A game without a table yet: it would enter first, and nothing can be created.
    EXPECT_FALSE(Ganar(10, "Strup"));
    EXPECT_TRUE(CargarPuntuaciones(Carpeta, "Strup").empty());
  }
  EXPECT_EQ(Leer(Carpeta / "ZARP.bin").size(), 256u);
  EXPECT_EQ(Contenido(Carpeta), antes) << "no temporary file left behind";
  EXPECT_EQ(Contenido(Carpeta / "Records"), antesRecords);
  EXPECT_EQ(Estado(Tabla()).st_ino, inodoTabla) << "the same file, written in place";
  EXPECT_EQ(Estado(Carpeta / "ZARP.bin").st_ino, inodoAjustes);
}

TEST_F(Fallas, CarpetaYArchivosDeSoloLecturaNoCambian) {
  Preparar({30, 60, 90});
  fs::permissions(Tabla(), fs::perms(0444));
  fs::permissions(Carpeta / "ZARP.bin", fs::perms(0444));
  const std::string tabla = Leer(Tabla());
  const std::string ajustes = Leer(Carpeta / "ZARP.bin");
  const auto antes = Contenido(Carpeta), antesRecords = Contenido(Carpeta / "Records");
  fs::permissions(Carpeta / "Records", fs::perms(0555));
  fs::permissions(Carpeta, fs::perms(0555));
  {
    SinPasarPermisos sinPermisos;
    if (PuedeCrearEn(Carpeta)) GTEST_SKIP() << "this system lets the tests write a read-only folder";
    EXPECT_EQ(LeerConfiguracion(Carpeta).ReversoActual(), "k58203361Defecto3");
    EXPECT_FALSE(ElegirReverso("k58203361Defecto2"));
    EXPECT_EQ(PosicionEnTabla(Carpeta, Clave, 45), 2);
    EXPECT_FALSE(Ganar(45));
    EXPECT_EQ(Puntos(CargarPuntuaciones(Carpeta, Clave)), (std::vector<std::uint16_t>{30, 60, 90}));
  }
  EXPECT_EQ(Leer(Tabla()), tabla);
  EXPECT_EQ(Leer(Carpeta / "ZARP.bin"), ajustes);
  EXPECT_EQ(Contenido(Carpeta), antes) << "no temporary file left behind";
  EXPECT_EQ(Contenido(Carpeta / "Records"), antesRecords);

  // Once the folder can be written again, the next result is kept.
  fs::permissions(Carpeta, fs::perms(0755));
  fs::permissions(Carpeta / "Records", fs::perms(0755));
  fs::permissions(Tabla(), fs::perms(0644));
  EXPECT_TRUE(Ganar(45));
  EXPECT_EQ(Puntos(CargarPuntuaciones(Carpeta, Clave)), (std::vector<std::uint16_t>{30, 45, 60, 90}));
}

TEST_F(Fallas, CarpetaDeSoloLecturaSinRecordsNiAjustes) {
  fs::permissions(Carpeta, fs::perms(0555));
  SinPasarPermisos sinPermisos;
  if (PuedeCrearEn(Carpeta)) GTEST_SKIP() << "this system lets the tests write a read-only folder";
  EXPECT_EQ(LeerConfiguracion(Carpeta).ReversoActual(), "k58203361Defecto1");
  EXPECT_FALSE(ElegirReverso("k58203361Defecto4"));
  EXPECT_EQ(PosicionEnTabla(Carpeta, Clave, 100), 1);
  EXPECT_FALSE(Ganar(100));
  EXPECT_TRUE(CargarPuntuaciones(Carpeta, Clave).empty());
  EXPECT_TRUE(Contenido(Carpeta).empty()) << "neither Records nor a settings file appears";
}

TEST_F(Fallas, ArchivosMarcadosDeSoloLecturaNoSeReemplazanNiSiendoRoot) {
  Preparar({30, 60});
  fs::permissions(Tabla(), fs::perms(0444));
  fs::permissions(Carpeta / "ZARP.bin", fs::perms(0444));
  const std::string tabla = Leer(Tabla());
  const std::string ajustes = Leer(Carpeta / "ZARP.bin");
  // Both are still read: the chosen back and the table are shown.
  EXPECT_EQ(LeerConfiguracion(Carpeta).ReversoActual(), "k58203361Defecto3");
  EXPECT_EQ(Puntos(CargarPuntuaciones(Carpeta, Clave)), (std::vector<std::uint16_t>{30, 60}));
  EXPECT_FALSE(ElegirReverso("k58203361Defecto2"));
  EXPECT_FALSE(Ganar(40));
  EXPECT_EQ(Leer(Tabla()), tabla);
  EXPECT_EQ(Leer(Carpeta / "ZARP.bin"), ajustes);
  EXPECT_EQ(fs::status(Tabla()).permissions(), fs::perms(0444));

  // Any write bit is enough, and a replaced file keeps its mode.
  fs::permissions(Tabla(), fs::perms(0640));
  EXPECT_TRUE(Ganar(40));
  EXPECT_EQ(fs::status(Tabla()).permissions(), fs::perms(0640));
  EXPECT_EQ(Contenido(Carpeta / "Records"), (std::set<std::string>{Clave + ".dat"}));
}

TEST_F(Fallas, RecordsEsUnArchivo) {
  Escribir(Carpeta / "Records", "no soy una carpeta");
  EXPECT_TRUE(CargarPuntuaciones(Carpeta, Clave).empty());
  EXPECT_EQ(PosicionEnTabla(Carpeta, Clave, 50), 1);
  EXPECT_FALSE(Ganar(50));
  EXPECT_TRUE(fs::is_regular_file(Carpeta / "Records"));
  EXPECT_EQ(Leer(Carpeta / "Records"), "no soy una carpeta");
  EXPECT_EQ(Contenido(Carpeta), (std::set<std::string>{"Records"}));
  // The settings file beside it is not affected.
  EXPECT_TRUE(ElegirReverso("k58203361Defecto2"));
  EXPECT_EQ(LeerConfiguracion(Carpeta).ReversoActual(), "k58203361Defecto2");
}

TEST_F(Fallas, CarpetasYTuberiasEnLugarDeLosArchivos) {
  // A score file replaced by a folder that holds something.
  fs::create_directories(Tabla());
  Escribir(Tabla() / "dentro.txt", "algo");
  EXPECT_TRUE(CargarPuntuaciones(Carpeta, Clave).empty());
  EXPECT_EQ(PosicionEnTabla(Carpeta, Clave, 5), 1);
  EXPECT_FALSE(Ganar(5));
  EXPECT_EQ(Leer(Tabla() / "dentro.txt"), "algo");
  EXPECT_EQ(Contenido(Carpeta / "Records"), (std::set<std::string>{Clave + ".dat"}));

  // Pipes in place of both files: reading must not wait for a writer, and a pipe is not
  // a file to replace.
  const fs::path otra = ArchivoPuntuaciones(Carpeta, "Strup");
  ASSERT_EQ(::mkfifo(otra.c_str(), 0644), 0);
  ASSERT_EQ(::mkfifo((Carpeta / "ZARP.bin").c_str(), 0644), 0);
  EXPECT_TRUE(CargarPuntuaciones(Carpeta, "Strup").empty());
  EXPECT_FALSE(Ganar(5, "Strup"));
  EXPECT_EQ(LeerConfiguracion(Carpeta).ReversoActual(), "");
  EXPECT_FALSE(ElegirReverso("k58203361Defecto2"));
  EXPECT_TRUE(fs::is_fifo(otra));
  EXPECT_TRUE(fs::is_fifo(Carpeta / "ZARP.bin"));
  EXPECT_EQ(Contenido(Carpeta), (std::set<std::string>{"Records", "ZARP.bin"}));
}

TEST_F(Fallas, UnRenombreQueFallaDejaLaTablaEntera) {
  Preparar({30, 60, 90});
  const std::string tabla = Leer(Tabla());
  std::vector<TPasoEscritura> pasos;
  {
    FallaInyectada falla([&](TPasoEscritura paso, const fs::path&) {
      pasos.push_back(paso);
      return paso == TPasoEscritura::Renombrar;
    });
    EXPECT_EQ(PosicionEnTabla(Carpeta, Clave, 10), 1);
    EXPECT_FALSE(Ganar(10));
  }
  ASSERT_FALSE(pasos.empty());
  EXPECT_EQ(pasos.back(), TPasoEscritura::Renombrar) << "the fault came at the last step";
  EXPECT_EQ(Leer(Tabla()), tabla);
  EXPECT_EQ(Puntos(CargarPuntuaciones(Carpeta, Clave)), (std::vector<std::uint16_t>{30, 60, 90}));
  EXPECT_EQ(Contenido(Carpeta / "Records"), (std::set<std::string>{Clave + ".dat"}));
  EXPECT_TRUE(Ganar(10));
  EXPECT_EQ(Puntos(CargarPuntuaciones(Carpeta, Clave)), (std::vector<std::uint16_t>{10, 30, 60, 90}));
}

TEST_F(Fallas, CualquierPasoQueFallaDejaLosArchivosComoEstaban) {
  // A full table with bytes past it, which no step may lose or copy.
  Preparar({10, 20, 30, 40, 50, 60, 70, 80, 90, 100});
  Escribir(Tabla(), Leer(Tabla()) + std::string(100, '#'));
  const std::string tabla = Leer(Tabla());
  const std::string ajustes = Leer(Carpeta / "ZARP.bin");
  const auto antes = Contenido(Carpeta), antesRecords = Contenido(Carpeta / "Records");
  // Each record is written in one piece, so each step is asked once.
  for (const TPasoEscritura paso : {TPasoEscritura::CrearTemporal, TPasoEscritura::Escribir,
                                    TPasoEscritura::Sincronizar, TPasoEscritura::Renombrar}) {
    SCOPED_TRACE(static_cast<int>(paso));
    int veces = 0;
    FallaInyectada falla([&](TPasoEscritura p, const fs::path&) { return p == paso && ++veces; });
    EXPECT_FALSE(Ganar(5));
    EXPECT_EQ(veces, 1) << "the step was reached";
    EXPECT_FALSE(ElegirReverso("k58203361Defecto4"));
    EXPECT_EQ(Leer(Tabla()), tabla);
    EXPECT_EQ(Leer(Carpeta / "ZARP.bin"), ajustes);
    EXPECT_EQ(Contenido(Carpeta), antes);
    EXPECT_EQ(Contenido(Carpeta / "Records"), antesRecords);
  }
  EXPECT_TRUE(Ganar(5));
  EXPECT_EQ(Leer(Tabla()).size(), 280u) << "the new file holds the table only";
  EXPECT_EQ(CargarPuntuaciones(Carpeta, Clave).front().Puntos, 5);
}

TEST_F(Fallas, DiscoLlenoAlGuardar) {
  Preparar({10, 20, 30, 40, 50, 60, 70, 80, 90});
  const std::string tabla = Leer(Tabla());
  const std::string ajustes = Leer(Carpeta / "ZARP.bin");
  const auto antesRecords = Contenido(Carpeta / "Records");
  {
    // Room for 100 bytes: neither the ten-record table nor the 256-byte record fits.
    DiscoLleno lleno(100);
    EXPECT_FALSE(Ganar(55));
    EXPECT_FALSE(ElegirReverso("k58203361Defecto2"));
  }
  EXPECT_EQ(Leer(Tabla()), tabla);
  EXPECT_EQ(Leer(Carpeta / "ZARP.bin"), ajustes);
  EXPECT_EQ(Contenido(Carpeta / "Records"), antesRecords);
  EXPECT_TRUE(Ganar(55));
  EXPECT_EQ(CargarPuntuaciones(Carpeta, Clave).size(), 10u);
}

// A table grown to gigabytes of holes: saving writes one table, never the rest.
TEST_F(Fallas, TablaDispersaDeVariosGigasNoSeCopia) {
  constexpr std::uintmax_t Tamanno = 3ull << 30;
  Preparar({10, 20, 30, 40, 50, 60, 70, 80, 90, 100});
  fs::resize_file(Tabla(), Tamanno);
  if (Estado(Tabla()).st_blocks * 512 > (1 << 20)) GTEST_SKIP() << "this file system has no sparse files";
  EXPECT_EQ(CargarPuntuaciones(Carpeta, Clave).size(), 10u);
  EXPECT_TRUE(Ganar(5));
  EXPECT_EQ(fs::file_size(Tabla()), 280u) << "a new file holds the table and nothing else";
  EXPECT_LE(Estado(Tabla()).st_blocks * 512, 64 * 1024);

  // Written in place (the folder refuses a new file), the holes stay holes.
  fs::resize_file(Tabla(), Tamanno);
  fs::permissions(Carpeta / "Records", fs::perms(0555));
  {
    SinPasarPermisos sinPermisos;
    if (PuedeCrearEn(Carpeta / "Records")) GTEST_SKIP() << "this system lets the tests write a read-only folder";
    EXPECT_TRUE(Ganar(1));
  }
  EXPECT_EQ(fs::file_size(Tabla()), Tamanno);
  EXPECT_LE(Estado(Tabla()).st_blocks * 512, 64 * 1024);
  EXPECT_EQ(Puntos(CargarPuntuaciones(Carpeta, Clave)),
            (std::vector<std::uint16_t>{1, 5, 10, 20, 30, 40, 50, 60, 70, 80}));
}

// Links that lead out of the program's folder are never followed, neither to read nor to
// write, and never turn into a copy of what they point at.
TEST_F(Fallas, EnlacesFueraDeLaCarpetaNoSeSiguen) {
  const fs::path programa = Carpeta / "programa", sistema = Carpeta / "sistema";
  fs::create_directories(programa / "Records");
  fs::create_directories(sistema / "tablas");
  const std::string secreto = "root:$y$j9T$secreto:19000:0:99999:7:::\n" + std::string(400, 's');
  Escribir(sistema / "shadow", secreto);
  fs::create_symlink(sistema / "shadow", ArchivoPuntuaciones(programa, Clave));
  fs::create_symlink(sistema / "shadow", programa / "ZARP.bin");

  EXPECT_TRUE(CargarPuntuaciones(programa, Clave).empty());
  EXPECT_EQ(PosicionEnTabla(programa, Clave, 50), 1);
  EXPECT_FALSE(GuardarPuntuacion(programa, Clave, "Ana", 1, 50, 1));
  EXPECT_EQ(LeerConfiguracion(programa).ReversoActual(), "") << "there, but not readable";
  TRegistroConfiguracion r;
  r.PonerReversoActual("k58203361Defecto2");
  EXPECT_FALSE(GuardarConfiguracion(programa, r));
  EXPECT_TRUE(fs::is_symlink(ArchivoPuntuaciones(programa, Clave)));
  EXPECT_TRUE(fs::is_symlink(programa / "ZARP.bin"));
  EXPECT_EQ(Leer(sistema / "shadow"), secreto);

  // A link to nothing creates nothing, not even inside the folder.
  fs::create_symlink(programa / "nada.dat", ArchivoPuntuaciones(programa, "Strup"));
  EXPECT_FALSE(GuardarPuntuacion(programa, "Strup", "Ana", 1, 50, 1));
  EXPECT_FALSE(fs::exists(programa / "nada.dat"));

  // Records itself leading elsewhere: the table there is neither read nor written.
  fs::remove_all(programa / "Records");
  fs::create_directory_symlink(sistema / "tablas", programa / "Records");
  {
    const fs::path otra = Carpeta / "otra";
    fs::create_directories(otra);
    ASSERT_TRUE(GuardarPuntuacion(otra, Clave, "Ajeno", 1, 40, 1));
    fs::copy_file(ArchivoPuntuaciones(otra, Clave), sistema / "tablas" / (Clave + ".dat"));
  }
  const std::string ajena = Leer(sistema / "tablas" / (Clave + ".dat"));
  EXPECT_TRUE(CargarPuntuaciones(programa, Clave).empty());
  EXPECT_FALSE(GuardarPuntuacion(programa, Clave, "Ana", 1, 50, 1));
  EXPECT_EQ(Leer(sistema / "tablas" / (Clave + ".dat")), ajena);
  EXPECT_EQ(Contenido(sistema / "tablas"), (std::set<std::string>{Clave + ".dat"}));
}

// A link to another file of the program's folder is written through: the file it points
// at gets the new table and the link stays a link.
TEST_F(Fallas, EnlacesDentroDeLaCarpetaSeConservan) {
  const std::string compartida = "Compartida";
  ASSERT_TRUE(GuardarPuntuacion(Carpeta, compartida, "Ana", 1, 40, 1));
  fs::create_symlink(compartida + ".dat", Tabla());
  EXPECT_EQ(Puntos(CargarPuntuaciones(Carpeta, Clave)), (std::vector<std::uint16_t>{40}));
  EXPECT_TRUE(Ganar(30));
  EXPECT_TRUE(fs::is_symlink(Tabla()));
  EXPECT_EQ(Puntos(CargarPuntuaciones(Carpeta, compartida)), (std::vector<std::uint16_t>{30, 40}));

  fs::create_directory(Carpeta / "ajustes");
  Escribir(Carpeta / "ajustes" / "ZARP.bin", "");
  fs::create_symlink("ajustes/ZARP.bin", Carpeta / "ZARP.bin");
  EXPECT_TRUE(ElegirReverso("k58203361Defecto4"));
  EXPECT_TRUE(fs::is_symlink(Carpeta / "ZARP.bin"));
  EXPECT_EQ(Leer(Carpeta / "ajustes" / "ZARP.bin").substr(0, 18), "\x11k58203361Defecto4");
  EXPECT_EQ(Contenido(Carpeta / "ajustes"), (std::set<std::string>{"ZARP.bin"}));
}

// Root replaces a file and gives it back to its owner; it never writes through a hard link
// (the kernel would not stop root writing a file that is not the program's), so that
// link is parted and its other name keeps the old bytes.
TEST_F(Fallas, RootConservaElDuennoYNoEscribeAtravesDeEnlacesDuros) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root";
  Preparar({30, 60});
  ASSERT_EQ(::chown(Tabla().c_str(), Jugador, Jugador), 0);
  ASSERT_EQ(::chown((Carpeta / "ZARP.bin").c_str(), Jugador, Jugador), 0);
  fs::permissions(Tabla(), fs::perms(0640));
  EXPECT_TRUE(Ganar(40));
  EXPECT_TRUE(ElegirReverso("k58203361Defecto2"));
  for (const fs::path& f : {Tabla(), Carpeta / "ZARP.bin"}) {
    EXPECT_EQ(Estado(f).st_uid, Jugador) << f;
    EXPECT_EQ(Estado(f).st_gid, Jugador) << f;
  }
  EXPECT_EQ(Estado(Tabla()).st_mode & 07777, 0640u);

  const fs::path otroNombre = Carpeta / "copia.dat";
  fs::create_hard_link(Tabla(), otroNombre);
  const std::string antes = Leer(otroNombre);
  EXPECT_TRUE(Ganar(35));
  EXPECT_EQ(Leer(otroNombre), antes);
  EXPECT_EQ(Estado(Tabla()).st_nlink, 1u);
  EXPECT_EQ(Puntos(CargarPuntuaciones(Carpeta, Clave)), (std::vector<std::uint16_t>{30, 35, 40, 60}));
}

// A player without privileges: a rename would hand another owner's file over to the
// player or part hard links, and a folder the player may not write allows no rename at
// all; each time the record is rewritten in place, where the file's own permissions say.
TEST_F(Fallas, JugadorSinPrivilegiosEscribeEnSitio) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to become another user";
  Preparar({30, 60});
  fs::permissions(Carpeta, fs::perms(0777));
  fs::permissions(Carpeta / "Records", fs::perms(0777));
  const auto dueno = [&](const fs::path& f) { return Estado(f).st_uid; };

  // Root's files, writable by everyone, in folders everyone may write.
  fs::permissions(Tabla(), fs::perms(0666));
  fs::permissions(Carpeta / "ZARP.bin", fs::perms(0666));
  const ino_t inodo = Estado(Tabla()).st_ino;
  ASSERT_EQ(ComoJugador([&] { return Ganar(40) && ElegirReverso("k58203361Defecto4"); }), 0);
  EXPECT_EQ(dueno(Tabla()), 0u) << "still root's";
  EXPECT_EQ(dueno(Carpeta / "ZARP.bin"), 0u);
  EXPECT_EQ(Estado(Tabla()).st_ino, inodo);
  EXPECT_EQ(Puntos(CargarPuntuaciones(Carpeta, Clave)), (std::vector<std::uint16_t>{30, 40, 60}));
  EXPECT_EQ(LeerConfiguracion(Carpeta).ReversoActual(), "k58203361Defecto4");
  // Not writable by the player: nothing changes.
  fs::permissions(Tabla(), fs::perms(0644));
  EXPECT_EQ(ComoJugador([&] { return Ganar(20); }), 1);
  EXPECT_EQ(Puntos(CargarPuntuaciones(Carpeta, Clave)), (std::vector<std::uint16_t>{30, 40, 60}));

  // The player's own file with a second name: both names keep showing one table.
  ASSERT_EQ(::chown(Tabla().c_str(), Jugador, Jugador), 0);
  const fs::path otroNombre = Carpeta / "copia.dat";
  fs::create_hard_link(Tabla(), otroNombre);
  ASSERT_EQ(ComoJugador([&] { return Ganar(20); }), 0);
  EXPECT_EQ(Leer(otroNombre), Leer(Tabla()));
  EXPECT_EQ(Estado(Tabla()).st_nlink, 2u);
  fs::remove(otroNombre);

  // The player's own file in a folder that belongs to root and only root may write.
  fs::permissions(Carpeta / "Records", fs::perms(0755));
  ASSERT_EQ(ComoJugador([&] { return Ganar(10); }), 0);
  EXPECT_EQ(dueno(Tabla()), Jugador);
  EXPECT_EQ(Puntos(CargarPuntuaciones(Carpeta, Clave)), (std::vector<std::uint16_t>{10, 20, 30, 40, 60}));
  EXPECT_EQ(Contenido(Carpeta / "Records"), (std::set<std::string>{Clave + ".dat"}));
  // Where a new file is possible and the file is the player's alone, the rename stays.
  fs::permissions(Carpeta / "Records", fs::perms(0777));
  const ino_t antes = Estado(Tabla()).st_ino;
  ASSERT_EQ(ComoJugador([&] { return Ganar(15); }), 0);
  EXPECT_NE(Estado(Tabla()).st_ino, antes);
  EXPECT_EQ(dueno(Tabla()), Jugador);
}
