#pragma once

#include <QObject>

class ReplyDecodeTest : public QObject
{
    Q_OBJECT
private slots:
    void decodeNumber_data();
    void decodeNumber();
    void decodeDigit_data();
    void decodeDigit();
    void filterInitCharOverAllBytes();
    void lineSettings_data();
    void lineSettings();
};

class PortAccessTest : public QObject
{
    Q_OBJECT
private slots:
    void cleanup();
    void listingReportsEachPresentPort();
    void listingWithoutPortsReportsProblem();
    void listingClosesOpenPortFirst();
    void unmappedPortsReachNoDevice();
    void openSyncPortToleratesMissingModemLines();
    void openSyncPortFailures_data();
    void openSyncPortFailures();
    void portHeldElsewhereIsRefused();
    void statusLinesGoToSinkOnceInstalled();
    void deviceOrder_data();
    void deviceOrder();
    void closedPortOperationsRaise();
};

class CommandLayerTest : public QObject
{
    Q_OBJECT
private slots:
    void cleanup();
    void readsCellOfDefaultSet();
    void faultyReplies_data();
    void faultyReplies();
    void garbageIsRetriedWithAttentionBetween();
    void oneBadReplyIsRecovered();
    void attentionFramesArePaced();
    void closedPortFails();
    void writeStoresCellAndPauses();
    void lineVanishingEndsReadPromptly();
    void eventLoopRunsDuringWaits();
    void eventWaitWakesOnAnySignal();
    void eventWaitEndsWhenTimerSwitchedOff();
    void nullDiscardDropsNuls();
};

class SimulatorTest : public QObject
{
    Q_OBJECT
private slots:
    void parserSplitsFrames_data();
    void parserSplitsFrames();
    void defaultCellsHoldDefaultSet();
    void resetAnnouncementInPiecesAfterNoise();
    void frozenCellIgnoresWrites();
};
