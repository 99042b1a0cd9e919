#include "play/registros/Estadisticas.h"

#include <QJsonArray>

#include <algorithm>

#include "play/registros/RegistroJson.h"

namespace {

// Version 1 had no count of the ganable deals; its files read with none.
constexpr int kVersionSinGanables = 1;
const TFormatoRegistro kFormato{ArchivoEstadisticas, QStringLiteral("juegos"),
                                kVersionSinGanables, VersionEstadisticas, 1024 * 1024};

void Menor(std::optional<std::uint16_t>& campo, std::uint16_t v) {
  if (!campo || v < *campo) campo = v;
}

const QString kJugados = QStringLiteral("jugados");
const QString kGanados = QStringLiteral("ganados");
const QString kRacha = QStringLiteral("rachaActual");
const QString kRachaMaxima = QStringLiteral("rachaMaxima");
const QString kPuntos = QStringLiteral("mejoresPuntos");
const QString kMovimientos = QStringLiteral("menosMovimientos");
const QString kTiempo = QStringLiteral("menorTiempo");
const QString kUltimos = QStringLiteral("ultimosPuntos");
const QString kGanables = QStringLiteral("ganables");
const QString kGanadosGanables = QStringLiteral("ganadosGanables");

std::optional<TEstadisticaJuego> LeerJuego(const QJsonObject& o, int version) {
  constexpr double k32 = 4294967295.0;
  auto cuenta = [&](const QString& nombre) { return EnteroJson(o.value(nombre), 0, k32); };
  const auto jugados = cuenta(kJugados);
  const auto ganados = cuenta(kGanados);
  const auto racha = cuenta(kRacha);
  const auto maxima = cuenta(kRachaMaxima);
  const bool conGanables = version > kVersionSinGanables;
  const auto ganables = conGanables ? cuenta(kGanables) : 0.0;
  const auto ganadosGanables = conGanables ? cuenta(kGanadosGanables) : 0.0;
  if (!jugados || !ganados || !racha || !maxima || !ganables || !ganadosGanables)
    return std::nullopt;
  TEstadisticaJuego e;
  e.Jugados = static_cast<std::uint32_t>(*jugados);
  e.Ganados = static_cast<std::uint32_t>(*ganados);
  e.RachaActual = static_cast<std::uint32_t>(*racha);
  e.RachaMaxima = static_cast<std::uint32_t>(*maxima);
  e.Ganables = static_cast<std::uint32_t>(*ganables);
  e.GanadosGanables = static_cast<std::uint32_t>(*ganadosGanables);
  // Figures that contradict each other are not the player's.
  if (e.Ganados > e.Jugados || e.RachaActual > e.RachaMaxima || e.RachaMaxima > e.Ganados ||
      e.Ganables > e.Jugados || e.GanadosGanables > e.Ganables ||
      e.GanadosGanables > e.Ganados)
    return std::nullopt;
  auto opcional = [&](const QString& nombre, std::optional<std::uint16_t>& campo) {
    const QJsonValue v = o.value(nombre);
    if (v.isUndefined() || v.isNull()) return true;
    const auto d = EnteroJson(v, 0, 65535);
    if (d) campo = static_cast<std::uint16_t>(*d);
    return d.has_value();
  };
  if (!opcional(kPuntos, e.MejoresPuntos) || !opcional(kMovimientos, e.MenosMovimientos) ||
      !opcional(kTiempo, e.MenorTiempo))
    return std::nullopt;
  const QJsonValue ultimos = o.value(kUltimos);
  if (ultimos.isArray()) {
    const QJsonArray lista = ultimos.toArray();
    if (static_cast<std::size_t>(lista.size()) > kUltimosGanados) return std::nullopt;
    for (const QJsonValue& v : lista) {
      const auto d = EnteroJson(v, 0, 65535);
      if (!d) return std::nullopt;
      e.UltimosPuntos.push_back(static_cast<std::uint16_t>(*d));
    }
  } else if (!ultimos.isUndefined()) {
    return std::nullopt;
  }
  return e;
}

QJsonObject EnJson(const TEstadisticas& estadisticas) {
  QJsonObject juegos;
  for (const auto& [clave, e] : estadisticas) {
    QJsonObject o{{kJugados, static_cast<double>(e.Jugados)},
                  {kGanados, static_cast<double>(e.Ganados)},
                  {kRacha, static_cast<double>(e.RachaActual)},
                  {kRachaMaxima, static_cast<double>(e.RachaMaxima)},
                  {kGanables, static_cast<double>(e.Ganables)},
                  {kGanadosGanables, static_cast<double>(e.GanadosGanables)}};
    if (e.MejoresPuntos) o.insert(kPuntos, *e.MejoresPuntos);
    if (e.MenosMovimientos) o.insert(kMovimientos, *e.MenosMovimientos);
    if (e.MenorTiempo) o.insert(kTiempo, *e.MenorTiempo);
    QJsonArray ultimos;
    for (std::uint16_t p : e.UltimosPuntos) ultimos.append(p);
    o.insert(kUltimos, ultimos);
    juegos.insert(QString::fromStdString(clave), o);
  }
  return juegos;
}

}  // namespace

std::optional<int> PorcentajeGanados(const TEstadisticaJuego& e) {
  if (e.Jugados == 0) return std::nullopt;
  return static_cast<int>(static_cast<std::uint64_t>(e.Ganados) * 100 / e.Jugados);
}

std::optional<int> PorcentajeGanadosGanables(const TEstadisticaJuego& e) {
  if (e.Ganables == 0) return std::nullopt;
  return static_cast<int>(static_cast<std::uint64_t>(e.GanadosGanables) * 100 / e.Ganables);
}

void ContarJugado(TEstadisticaJuego& e) { ++e.Jugados; }

void ContarGanable(TEstadisticaJuego& e) { ++e.Ganables; }

void ContarGanadoGanable(TEstadisticaJuego& e) { ++e.GanadosGanables; }

void ContarGanado(TEstadisticaJuego& e, bool yaContado, std::uint16_t puntos,
                  std::uint16_t movimientos, std::uint16_t minutos) {
  if (!yaContado) ++e.Jugados;
  ++e.Ganados;
  ++e.RachaActual;
  e.RachaMaxima = std::max(e.RachaMaxima, e.RachaActual);
  Menor(e.MejoresPuntos, puntos);
  Menor(e.MenosMovimientos, movimientos);
  Menor(e.MenorTiempo, minutos);
  e.UltimosPuntos.push_back(puntos);
  if (e.UltimosPuntos.size() > kUltimosGanados)
    e.UltimosPuntos.erase(e.UltimosPuntos.begin(),
                          e.UltimosPuntos.end() - static_cast<std::ptrdiff_t>(kUltimosGanados));
}

void ContarAbandono(TEstadisticaJuego& e) { e.RachaActual = 0; }

std::string EstadisticasEnJson(const TEstadisticas& estadisticas) {
  return RegistroEnJson(kFormato, EnJson(estadisticas));
}

TEstadisticas LeerEstadisticasJson(std::string_view datos) {
  return LeerRegistroJson<TEstadisticaJuego>(datos, kFormato, LeerJuego);
}

TEstadisticas LeerEstadisticas(const std::filesystem::path& carpeta) {
  return LeerEstadisticasJson(LeerArchivoRegistro(carpeta, kFormato));
}

bool GuardarEstadisticas(const std::filesystem::path& carpeta, const TEstadisticas& e) {
  return GuardarRegistro(carpeta, kFormato, EnJson(e));
}
