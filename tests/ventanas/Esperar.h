#pragma once
// Waits for a condition while the event loop runs, as a gtest assertion. Qt's QTRY_VERIFY
// reports to QtTest's own log and returns from the test: under gtest a condition that
// never holds would leave the test passing.
#include <gtest/gtest.h>

#include <QTest>

#define ESPERAR(condicion) ASSERT_TRUE(QTest::qWaitFor([&] { return bool(condicion); })) << #condicion
