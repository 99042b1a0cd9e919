// The files of kept games and statistics: what they keep, what they refuse.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <filesystem>
#include <fstream>

#include "play/registros/Estadisticas.h"
#include "play/registros/PartidaGuardada.h"
#include "play/registros/RegistroJson.h"

namespace {

namespace fs = std::filesystem;

TEST(PartidaGuardada, SeGuardaPorJuegoYSeBorra) {
  QTemporaryDir carpeta;
  const fs::path c = carpeta.path().toStdString();
  const TPartidaGuardada a{-7, {"3.2>5", "a7", "m", "d", "i", "v", "r"}, 65535, true, true};
  const TPartidaGuardada b{2147483647, {"1>2"}, 0, false};
  ASSERT_TRUE(GuardarPartida(c, "CuatroReyes", a));
  ASSERT_TRUE(GuardarPartida(c, "SquadronEspañol", b));
  EXPECT_EQ(LeerPartida(c, "CuatroReyes"), a);
  EXPECT_EQ(LeerPartida(c, "SquadronEspañol"), b);
  ASSERT_TRUE(GuardarPartida(c, "CuatroReyes", std::nullopt));
  EXPECT_FALSE(LeerPartida(c, "CuatroReyes"));
  EXPECT_EQ(LeerPartida(c, "SquadronEspañol"), b);
  // Written through a temporary file: nothing else is left in the folder.
  EXPECT_EQ(std::distance(fs::directory_iterator(c), fs::directory_iterator()), 1);
}

TEST(PartidaGuardada, CamposFueraDeRangoDejanFueraElJuego) {
  auto con = [](const std::string& campos) {
    return LeerPartidasJson("{\"version\":1,\"partidas\":{\"Strup\":{" + campos + "}}}");
  };
  const std::string bien = "\"numero\":3,\"minutos\":2,\"ayuda\":false,\"pasos\":[\"1>2\"]";
  EXPECT_EQ(con(bien).size(), 1u);
  for (const char* mal :
       {"\"numero\":3.5,\"minutos\":2,\"ayuda\":false,\"pasos\":[]",
        "\"numero\":2147483648,\"minutos\":2,\"ayuda\":false,\"pasos\":[]",
        "\"numero\":3,\"minutos\":65536,\"ayuda\":false,\"pasos\":[]",
        "\"numero\":3,\"minutos\":2,\"ayuda\":0,\"pasos\":[]",
        "\"numero\":3,\"minutos\":2,\"ayuda\":false,\"pasos\":[\"1>\"]",
        "\"numero\":3,\"minutos\":2,\"ayuda\":false,\"pasos\":[7]",
        "\"numero\":\"3\",\"minutos\":2,\"ayuda\":false,\"pasos\":[]"})
    EXPECT_TRUE(con(mal).empty()) << mal;
  EXPECT_TRUE(LeerPartidasJson("{\"version\":2,\"partidas\":{\"Strup\":{" + bien + "}}}").empty());
  // Whether the deal was proven ganable: absent in older files, else a flag.
  EXPECT_FALSE(con(bien).at("Strup").RepartoGanable);
  EXPECT_TRUE(con(bien + ",\"ganable\":true").at("Strup").RepartoGanable);
  EXPECT_TRUE(con(bien + ",\"ganable\":1").empty());
  EXPECT_TRUE(LeerPartidasJson(std::string("\0\1\2", 3)).empty());
}

// The joined actions and what redo may repeat go with the steps and come back as they
// were; files of older programs have neither and still read; a bad value in either
// leaves the game out.
TEST(PartidaGuardada, UnionesYRehacerIdaYVuelta) {
  TPartidaGuardada p{12, {"3>5", "2>9", "4>9", "d", "d", "2>9", "d"}, 4, true};
  p.Unidos = {2, 5};
  p.PorRehacer = std::vector<TMesa::TPorRehacer>{{"4>9", 2, true}, {"2>9", 1, false}};
  const TPartidasGuardadas todas{{"Strup", p}};
  EXPECT_EQ(LeerPartidasJson(PartidasEnJson(todas)), todas);
  p.PorRehacer->clear();
  EXPECT_EQ(LeerPartidasJson(PartidasEnJson({{"Strup", p}})).at("Strup"), p);

  auto con = [](const std::string& campos) {
    return LeerPartidasJson("{\"version\":1,\"partidas\":{\"Strup\":{" + campos + "}}}");
  };
  const std::string vieja =
      "\"numero\":3,\"minutos\":2,\"ayuda\":true,\"pasos\":[\"1>2\",\"3>2\",\"d\"]";
  const auto leida = con(vieja);
  ASSERT_EQ(leida.size(), 1u);
  EXPECT_TRUE(leida.at("Strup").Unidos.empty());
  EXPECT_FALSE(leida.at("Strup").PorRehacer.has_value());
  EXPECT_EQ(con(vieja + ",\"unidos\":[1,2]").at("Strup").Unidos, (std::vector<std::size_t>{1, 2}));
  const std::string rehacer =
      ",\"porRehacer\":[{\"paso\":\"3>2\",\"profundidad\":1,\"unido\":false}]";
  ASSERT_EQ(con(vieja + rehacer).size(), 1u);
  EXPECT_EQ(con(vieja + rehacer).at("Strup").PorRehacer,
            (std::vector<TMesa::TPorRehacer>{{"3>2", 1, false}}));
  for (const char* mal :
       {",\"unidos\":[3]", ",\"unidos\":[2,1]", ",\"unidos\":[1,1]", ",\"unidos\":[-1]",
        ",\"unidos\":[0.5]", ",\"unidos\":1", ",\"unidos\":[\"1\"]", ",\"porRehacer\":{}",
        ",\"porRehacer\":[7]",
        ",\"porRehacer\":[{\"paso\":\"3>\",\"profundidad\":1,\"unido\":false}]",
        ",\"porRehacer\":[{\"paso\":\"3>2\",\"profundidad\":-1,\"unido\":false}]",
        ",\"porRehacer\":[{\"paso\":\"3>2\",\"profundidad\":1}]"})
    EXPECT_TRUE(con(vieja + mal).empty()) << mal;
}

TEST(Estadisticas, RachasMejoresYUltimosPuntos) {
  TEstadisticaJuego e;
  EXPECT_FALSE(PorcentajeGanados(e));
  ContarJugado(e);
  ContarGanado(e, true, 100, 60, 5);
  ContarGanado(e, false, 90, 70, 3);  // won before anything counted it: also played
  ContarJugado(e);
  ContarAbandono(e);
  ContarGanado(e, false, 95, 50, 4);
  EXPECT_EQ(e.Jugados, 4u);
  EXPECT_EQ(e.Ganados, 3u);
  EXPECT_EQ(PorcentajeGanados(e), 75);
  EXPECT_EQ(e.RachaActual, 1u);
  EXPECT_EQ(e.RachaMaxima, 2u);
  EXPECT_EQ(e.MejoresPuntos, 90);
  EXPECT_EQ(e.MenosMovimientos, 50);
  EXPECT_EQ(e.MenorTiempo, 3);
  EXPECT_EQ(e.UltimosPuntos, (std::vector<std::uint16_t>{100, 90, 95}));
  for (std::uint16_t i = 0; i < 30; ++i) ContarGanado(e, false, i, i, i);
  ASSERT_EQ(e.UltimosPuntos.size(), kUltimosGanados);
  EXPECT_EQ(e.UltimosPuntos.front(), 10);
  EXPECT_EQ(e.UltimosPuntos.back(), 29);
  EXPECT_EQ(e.MejoresPuntos, 0);
}

TEST(Estadisticas, ElArchivoIdaYVueltaYDannadoEsVacio) {
  QTemporaryDir carpeta;
  const fs::path c = carpeta.path().toStdString();
  EXPECT_TRUE(LeerEstadisticas(c).empty());
  TEstadisticas t;
  ContarGanado(t["Strup"], false, 7, 5, 0);
  ContarJugado(t["YukonEspañol"]);
  ASSERT_TRUE(GuardarEstadisticas(c, t));
  EXPECT_EQ(LeerEstadisticas(c), t);
  std::ofstream(c / ArchivoEstadisticas) << "{\"version\":1,\"juegos\":{\"Strup\":";
  EXPECT_TRUE(LeerEstadisticas(c).empty());
  // Figures that contradict each other, or another version, are not read.
  EXPECT_TRUE(LeerEstadisticasJson(R"({"version":1,"juegos":{"Strup":{"jugados":1,"ganados":2,"rachaActual":0,"rachaMaxima":0}}})").empty());
  EXPECT_TRUE(LeerEstadisticasJson(R"({"version":1,"juegos":{"Strup":{"jugados":3,"ganados":2,"rachaActual":3,"rachaMaxima":3}}})").empty());
  EXPECT_TRUE(LeerEstadisticasJson(R"({"version":9,"juegos":{}})").empty());
  EXPECT_EQ(LeerEstadisticasJson(R"({"version":1,"juegos":{"Strup":{"jugados":3,"ganados":2,"rachaActual":1,"rachaMaxima":2,"ultimosPuntos":[4,5]}}})").at("Strup").UltimosPuntos,
            (std::vector<std::uint16_t>{4, 5}));
}

// The ganable deals: counted apart from the rest, their share, and the files that hold
// them. Files of the first version, which had no such counts, still read.
TEST(Estadisticas, RepartosGanablesYVersiones) {
  TEstadisticaJuego e;
  EXPECT_FALSE(PorcentajeGanadosGanables(e));
  for (int i = 0; i < 3; ++i) {
    ContarJugado(e);
    ContarGanable(e);
  }
  ContarJugado(e);  // not decided
  ContarGanado(e, true, 80, 40, 2);
  ContarGanadoGanable(e);
  ContarGanado(e, true, 90, 50, 3);  // won, but its verdict never came
  EXPECT_EQ(PorcentajeGanados(e), 50);
  EXPECT_EQ(PorcentajeGanadosGanables(e), 33);
  TEstadisticas t{{"Strup", e}};
  EXPECT_EQ(LeerEstadisticasJson(EstadisticasEnJson(t)), t);
  EXPECT_NE(EstadisticasEnJson(t).find("\"version\": 2"), std::string::npos);

  const std::string v1 = R"({"version":1,"juegos":{"Strup":{"jugados":3,"ganados":2,"rachaActual":1,"rachaMaxima":2}}})";
  const TEstadisticas viejas = LeerEstadisticasJson(v1);
  ASSERT_EQ(viejas.count("Strup"), 1u);
  EXPECT_EQ(viejas.at("Strup").Jugados, 3u);
  EXPECT_EQ(viejas.at("Strup").Ganables, 0u);
  auto v2 = [](const std::string& ganables) {
    return LeerEstadisticasJson(R"({"version":2,"juegos":{"Strup":{"jugados":3,"ganados":2,"rachaActual":1,"rachaMaxima":2)" + ganables + "}}}");
  };
  EXPECT_EQ(v2(R"(,"ganables":3,"ganadosGanables":2)").at("Strup").GanadosGanables, 2u);
  // Required from version 2 on, and never more than what they are part of.
  for (const char* mal : {"", R"(,"ganables":3)", R"(,"ganables":4,"ganadosGanables":0)",
                          R"(,"ganables":1,"ganadosGanables":2)", R"(,"ganables":3,"ganadosGanables":3)",
                          R"(,"ganables":-1,"ganadosGanables":0)"})
    EXPECT_TRUE(v2(mal).empty()) << mal;
  EXPECT_TRUE(LeerEstadisticasJson(R"({"version":3,"juegos":{}})").empty());
}

// The shape both record files share: the version range, the object of entries, the size.
TEST(RegistroJson, VersionEntradasYTamanno) {
  const TFormatoRegistro f{"x.json", QStringLiteral("cosas"), 2, 3, 200};
  // An entry is kept when its "n" is a number; the version it was read at is kept with it.
  const auto leer = [](const QJsonObject& o, int version) {
    return o.value(QStringLiteral("n")).isDouble() ? std::optional<int>(version) : std::nullopt;
  };
  auto claves = [&](const std::string& datos) {
    std::vector<std::string> r;
    for (const auto& [k, v] : LeerRegistroJson<int>(datos, f, leer))
      r.push_back(k + std::to_string(v));
    return r;
  };
  EXPECT_EQ(claves(R"({"version":2,"cosas":{"a":{"n":1},"b":{"n":"1"},"":{"n":1},"c":5,"d":{"n":0}}})"),
            (std::vector<std::string>{"a2", "d2"}));
  EXPECT_EQ(claves(R"({"version":3,"cosas":{"a":{"n":1}}})"), std::vector<std::string>{"a3"});
  for (const std::string& mal : std::vector<std::string>{
           R"({"version":1,"cosas":{"a":{"n":1}}})", R"({"version":4,"cosas":{"a":{"n":1}}})",
        R"({"version":2.5,"cosas":{"a":{"n":1}}})", R"({"cosas":{"a":{"n":1}}})",
        R"({"version":2,"otras":{"a":{"n":1}}})", R"({"version":2,"cosas":[]})",
        R"([{"version":2,"cosas":{"a":{"n":1}}}])",
        R"({"version":2,"cosas":{"a":{"n":1}}})" + std::string(200, ' ')})
    EXPECT_TRUE(claves(mal).empty()) << mal;
  // What it writes reads back, at the current version.
  const QJsonObject z{{QStringLiteral("z"), QJsonObject{{QStringLiteral("n"), 7}}}};
  EXPECT_EQ(claves(RegistroEnJson(f, z)), std::vector<std::string>{"z3"});
}

}  // namespace
