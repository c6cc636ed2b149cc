#pragma once
// "Memory Map": where the commands of the editor's working copy lie in the gateway's
// internal memory, with the addresses they share. Unlike the device and object views it
// follows the working copy while it is open: the editor has no change signal, so a short
// timer compares the class records with what was drawn last.

#include <QWidget>
#include <array>

#include "config/GatewayConfig.h"
#include "config/MemoryOverlaps.h"

class QLabel;
class QListWidget;
class QTimer;

namespace kv {

class MemoryGrid;

class MemoryMap : public QWidget {
    Q_OBJECT

public:
    static constexpr int FollowIntervalMs = 300;

    explicit MemoryMap(const GatewayConfig& config, QWidget* parent = nullptr);

public Q_SLOTS:
    // Draws the working copy as it is now.
    void Refresh();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QWidget* MakeLegend();
    QWidget* MakeOverlapPanel();
    void RefreshWhenChanged();
    void ShowChosenOverlap();

    const GatewayConfig& config_;
    std::array<SerialClassRecord, SerialClassCount> drawnSerial_{};
    std::array<TcpClassRecord, TcpClassCount> drawnTcp_{};
    MemoryLayout layout_;
    MemoryGrid* grid_ = nullptr;
    QLabel* cursorText_ = nullptr;
    QListWidget* overlapList_ = nullptr;
    QLabel* noOverlaps_ = nullptr;
    QTimer* followTimer_ = nullptr;
};

}  // namespace kv
