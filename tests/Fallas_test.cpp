// File faults in the program's folder: a read-only folder, names taken by the wrong kind of
// entry, a full disk and every step of a write refused. Nothing may be lost or damaged,
// and nothing may stop the program.
#include <linux/capability.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <fcntl.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
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

TEST_F(Fallas, CarpetaDelProgramaDeSoloLectura) {
  Preparar({30, 60, 90});
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
    // A game without a table yet: it would enter first, and nothing can be created.
    EXPECT_FALSE(Ganar(10, "Strup"));
    EXPECT_TRUE(CargarPuntuaciones(Carpeta, "Strup").empty());
  }
  EXPECT_EQ(Leer(Tabla()), tabla);
  EXPECT_EQ(Leer(Carpeta / "ZARP.bin"), ajustes);
  EXPECT_EQ(Contenido(Carpeta), antes) << "no temporary file left behind";
  EXPECT_EQ(Contenido(Carpeta / "Records"), antesRecords);

  // Once the folder can be written again, the next result is kept.
  fs::permissions(Carpeta, fs::perms(0755));
  fs::permissions(Carpeta / "Records", fs::perms(0755));
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
  // A full table with bytes past it, so that the rewrite also copies a tail.
  Preparar({10, 20, 30, 40, 50, 60, 70, 80, 90, 100});
  Escribir(Tabla(), Leer(Tabla()) + std::string(100, '#'));
  const std::string tabla = Leer(Tabla());
  const std::string ajustes = Leer(Carpeta / "ZARP.bin");
  const auto antes = Contenido(Carpeta), antesRecords = Contenido(Carpeta / "Records");
  struct Caso {
    TPasoEscritura paso;
    int vez;  // which time the step is asked
  };
  for (const Caso c : {Caso{TPasoEscritura::CrearTemporal, 1}, Caso{TPasoEscritura::Escribir, 1},
                       Caso{TPasoEscritura::Escribir, 2}, Caso{TPasoEscritura::Sincronizar, 1},
                       Caso{TPasoEscritura::Renombrar, 1}}) {
    SCOPED_TRACE(static_cast<int>(c.paso) * 10 + c.vez);
    int veces = 0;
    FallaInyectada falla([&](TPasoEscritura paso, const fs::path&) {
      return paso == c.paso && ++veces == c.vez;
    });
    EXPECT_FALSE(Ganar(5));
    EXPECT_GE(veces, c.vez) << "the step was reached";
    // The settings record is written in one piece, so only a first time applies to it.
    veces = 0;
    if (c.vez == 1) {
      EXPECT_FALSE(ElegirReverso("k58203361Defecto4"));
    }
    EXPECT_EQ(Leer(Tabla()), tabla);
    EXPECT_EQ(Leer(Carpeta / "ZARP.bin"), ajustes);
    EXPECT_EQ(Contenido(Carpeta), antes);
    EXPECT_EQ(Contenido(Carpeta / "Records"), antesRecords);
  }
  EXPECT_TRUE(Ganar(5));
  const std::string despues = Leer(Tabla());
  EXPECT_EQ(despues.size(), tabla.size());
  EXPECT_EQ(despues.substr(280), std::string(100, '#'));
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
