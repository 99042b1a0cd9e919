#pragma once
// Waits for a condition while the event loop runs, as a gtest assertion. Qt's QTRY_* macros
// report to QtTest's own log and return from the test: under gtest a condition that never
// holds would leave the test passing.
#include <gtest/gtest.h>

#include <QTest>

#define ESPERAR_HASTA(condicion, ms) \
  ASSERT_TRUE(QTest::qWaitFor([&] { return bool(condicion); }, ms)) << #condicion
#define ESPERAR(condicion) ESPERAR_HASTA(condicion, 5000)
#define ESPERAR_IGUAL_HASTA(valor, esperado, ms)                            \
  do {                                                                      \
    (void)QTest::qWaitFor([&] { return bool((valor) == (esperado)); }, ms); \
    ASSERT_TRUE((valor) == (esperado)) << #valor " == " #esperado;          \
  } while (false)
#define ESPERAR_IGUAL(valor, esperado) ESPERAR_IGUAL_HASTA(valor, esperado, 5000)
