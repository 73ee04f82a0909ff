#pragma once
// The pictures the bar's state icon place can show: the core says which one, the bar's
// renderer draws it.

enum class StateIcon { Play, Stop, Pause, Open, Idle };
