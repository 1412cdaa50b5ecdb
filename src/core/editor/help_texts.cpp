#include "editor/help_texts.h"

#include <array>
#include <cstddef>

namespace qora::editor {

namespace {

constexpr std::size_t kHelpTextCount = kLastHelpNumber - kFirstHelpNumber + 1;

// Indexed by help number - kFirstHelpNumber. The reference values quoted are those of the new-vehicle template.
constexpr std::array<std::string_view, kHelpTextCount> kHelpTexts = {
    // 100
    "Driver attributes:\n"
    "\n"
    "Aggression, Defense and Ability of the two computer drivers who race this car.\n"
    "Aggression is how hard a driver attacks, Defense how firmly he holds his place, Ability\n"
    "his pace.  Each is a digit, a point and a digit, such as 0.6.\n"
    "Normal values are 0.0 to 1.0.  Values up to 9.9 can be entered, but anything above 1.0\n"
    "is beyond the stock drivers and can make the computer drivers behave erratically:\n"
    "exceed 1.0 only to experiment, and test the car in a race before you share it.",

    // 101
    "Idle RPM:\n"
    "\n"
    "The engine speed in rpm that the idle sound sample stands for (700 on the template car).\n"
    "The game pitches the sample up or down from this speed as the revs change, so it should\n"
    "match the speed at which the sample was recorded; otherwise the engine sounds too high\n"
    "or too low.  Inside and outside sounds have their own value, usually the same.",

    // 102
    "Revved RPM:\n"
    "\n"
    "The engine speed in rpm that the revved sound sample stands for (4100 on the template\n"
    "car).  The game pitches the sample up or down from this speed as the revs change, so it\n"
    "should match the speed at which the sample was recorded.\n"
    "When you pick another sound file, take the rpm from the car the sound comes from.",

    // 103
    "Tire Pressure:\n"
    "\n"
    "The tyre's inflation pressure in kPa; the template car runs 155 kPa front and rear.\n"
    "Higher pressure makes the tyre stiffer: a quicker response and a smaller contact patch,\n"
    "usually with less grip.  Lower pressure softens the tyre and slows its response.\n"
    "Tune front and rear separately to adjust the balance; steps of 5 to 10 kPa are plenty.",

    // 104
    "Tire Compound:\n"
    "\n"
    "The rubber compound of the tyre on a scale from 0.0 to 1.0 (0.5 on the template car).\n"
    "It moves the tyre between the hard and the soft end of the game's range.\n"
    "Change one axle at a time by 0.1 and compare the lap times and the balance with the\n"
    "stock value before you change the other.",

    // 105
    "Tire Mass:\n"
    "\n"
    "The mass of one wheel with its tyre in kilograms: 15 kg front and 20 kg rear on the\n"
    "template car.  It is unsprung mass: heavier wheels follow bumps less well and take more\n"
    "effort to spin up and to slow down.\n"
    "Keep it between about 10 and 25 kg; set the car's weight with Mass Body Weight on the\n"
    "Other page instead.",

    // 106
    "Tire Radius:\n"
    "\n"
    "The rolling radius of the tyre in metres (0.32 m on the template car).\n"
    "It sets how far the car travels per turn of the wheel, so it acts like gearing: a larger\n"
    "radius raises the speed in every gear and costs acceleration, a smaller one does the\n"
    "opposite.  After changing it, check the gears and the top speed on the DriveTrain page.",

    // 107
    "Tire Friction:\n"
    "\n"
    "The tyre's grip on the road, its friction coefficient (2.40 front and 2.50 rear on the\n"
    "template car).  It is the main grip value: higher means more cornering, braking and\n"
    "traction force.\n"
    "Raising the front against the rear sharpens turn-in and tends towards oversteer; raising\n"
    "the rear makes the car stable and tends towards understeer.  Change it in steps of 0.05.\n"
    "Very high values make the car unrealistically sticky and can tip it over in corners.",

    // 108
    "Tire Inertia:\n"
    "\n"
    "How hard the wheel is to spin up or slow down: its rotational inertia in kilogram square\n"
    "metres (1.50 front and 2.00 rear on the template car).\n"
    "Low values let the wheels lock under braking and spin under power very quickly; high\n"
    "values make them slow to react and soak up engine power when accelerating.\n"
    "Bigger and heavier wheels have more: change it together with Tire Mass and Tire Radius.",

    // 109
    "Rolling Resistance:\n"
    "\n"
    "The tyre's rolling resistance coefficient: the share of the load on the tyre that\n"
    "resists rolling (0.010 on the template car).\n"
    "Higher values slow the car all the time and cost acceleration and top speed; lower\n"
    "values let it coast further.  Stay close to 0.010: the effect grows quickly.",

    // 110
    "Lateral Co-efficiency:\n"
    "\n"
    "How quickly the tyre builds cornering force as it starts to slip sideways, its\n"
    "cornering stiffness (25.00 front and 27.50 rear on the template car).\n"
    "Higher values give a sharper steering response and a more sudden limit; lower values\n"
    "make the car softer and more forgiving.\n"
    "A higher value at the rear than at the front keeps the car stable; reversing that\n"
    "invites oversteer.",

    // 111
    "Longitudinal Co-efficiency:\n"
    "\n"
    "How quickly the tyre builds driving and braking force as it starts to slip along the\n"
    "road (19.00 front and 20.00 rear on the template car).\n"
    "Higher values give firmer traction and braking with less slip before the limit; lower\n"
    "values let the tyre slip more under power and on the brakes.\n"
    "Change it together with Lateral Co-efficiency to keep the tyre's feel consistent.",

    // 112
    "Steering Ratio:\n"
    "\n"
    "How far the front wheels turn for a full steering input (0.650 on the template car).\n"
    "Higher values make the steering quicker and the turning circle tighter, but the car\n"
    "becomes nervous at speed; lower values calm it down and need more input in hairpins.\n"
    "Change it in small steps such as 0.025.",

    // 113
    "Braking Ratio:\n"
    "\n"
    "The strength of the brakes at full pedal (11500.0 on the template car).\n"
    "Higher values stop the car in a shorter distance but lock the wheels more easily;\n"
    "lower values make braking gentler and the braking distances longer.\n"
    "Raise it when you make the car heavier or faster, and set the split between the axles\n"
    "with Front Brake Balance.",

    // 114
    "Front Brake Balance:\n"
    "\n"
    "The share of the braking force that goes to the front wheels, as a fraction from 0.00\n"
    "to 1.00: 0.5650 on the template car means about 57 % front and 43 % rear.\n"
    "More to the front keeps the car stable under braking, but the front wheels lock first\n"
    "and the car runs wide; more to the rear lets the rear wheels lock and the car can spin.\n"
    "Most cars work best a little above 0.50.",

    // 115
    "Front AirDam and Rear Spoiler Angle:\n"
    "\n"
    "The angle of the front airdam and of the rear spoiler.  The file holds radians; tick the\n"
    "check box on this page to see and enter degrees (0.1748 radians is 10.0 degrees).\n"
    "A steeper angle makes more downforce, and so more grip in fast corners, but also more\n"
    "drag and a lower top speed.\n"
    "More angle at the front makes the car turn in sharply at speed and can make it loose;\n"
    "more at the rear makes it stable and tend to understeer in fast corners.",

    // 116
    "AirDam and Spoiler Function:\n"
    "\n"
    "How effective the airdam or the spoiler is: a factor on the downforce it makes at its\n"
    "angle (0.980 front and 1.430 rear on the template car).\n"
    "A higher value gives more downforce at the same angle and moves the balance at speed\n"
    "towards that end of the car, just as a steeper angle does.\n"
    "Change front and rear together to keep the balance while raising the overall grip.",

    // 117
    "AirDam and Spoiler Center:\n"
    "\n"
    "Where the airdam's or the spoiler's force acts: three values in metres across (x), up\n"
    "(y) and along (z) the car, written with commas and without blanks.\n"
    "The template car has the airdam at 0.000,-0.030,-2.030 and the spoiler at\n"
    "0.000,0.960,2.070: negative z is towards the front.  Keep x at 0.000.\n"
    "Moving a point further forward or back makes its downforce act more on that axle.",

    // 118
    "Ride Height:\n"
    "\n"
    "The height of the car above the road at this axle, in metres (0.090 on the template car).\n"
    "Lower is usually faster: the centre of mass drops and the car rolls less, but it may\n"
    "bottom out over kerbs and bumps.\n"
    "Change it in millimetre steps (0.001 is 1 mm) and test on a bumpy track.",

    // 119
    "Ride Height Adjustment:\n"
    "\n"
    "A small extra height in metres that works together with Ride Height at this axle\n"
    "(0.010 front and 0.005 rear on the template car).\n"
    "Keep it small and close to the stock values: set the car's height with Ride Height and\n"
    "use this value only for fine trimming.",

    // 120
    "Drag Co-Efficiency:\n"
    "\n"
    "The car's air resistance as three values, across, up and along the car, written with\n"
    "commas and without blanks (1.700,3.000,0.357 on the template car).\n"
    "The third value works against the car's forward motion: it decides the top speed and\n"
    "how quickly the car slows when you lift.  Lower it in small steps for more top speed.\n"
    "The first two resist sideways and vertical motion; keep them close to the stock values.",

    // 121
    "Drag Center:\n"
    "\n"
    "The point where the air resistance acts, in metres across (x), up (y) and along (z)\n"
    "the car (0.000,0.290,0.200 on the template car; negative z is towards the front).\n"
    "Behind the centre of mass it steadies the car at speed like the feathers of an arrow;\n"
    "moving it forward makes the car less stable in fast corners.  Keep x at 0.000.",

    // 122
    "Downforce Co-efficiency:\n"
    "\n"
    "The car's overall downforce factor (0.610 on the template car).\n"
    "Downforce presses the tyres onto the road as speed rises: more grip in fast corners and\n"
    "under braking from speed, with little effect in slow corners.\n"
    "Too much makes fast corners unrealistically easy; change it in steps of 0.05.",

    // 123
    "Side Skirts:\n"
    "\n"
    "Some vehicle files carry a side_skirts= line in the AERODYNAMICS section.\n"
    "The game misbehaves with it, so QORA disables these entries: when a file holding one\n"
    "is loaded, QORA offers to put //--REMOVED BY QORA-- in front of the line, which turns\n"
    "it into a comment the game ignores.\n"
    "There is no field for side skirts; use the downforce and wing values to change the\n"
    "car's grip at speed.",

    // 124
    "Spring Co-efficiency:\n"
    "\n"
    "The stiffness of this axle's springs in newtons per metre of travel (19500.0 front and\n"
    "25500.0 rear on the template car).\n"
    "Stiffer springs reduce roll and pitch and sharpen the response but cost grip on bumpy\n"
    "surfaces.  A stiffer front than rear tends to understeer, a stiffer rear to oversteer.\n"
    "Change it in steps of about 500 and adjust the shocks to match.",

    // 125
    "Bumpstop Co-efficiency:\n"
    "\n"
    "The stiffness of the bump stop, the rubber block that stops the suspension at the end\n"
    "of its travel (3500.0 on the template car).\n"
    "Too soft and the suspension bottoms out hard over kerbs; too stiff and the car skips\n"
    "when a stop is reached.  Raise it when you lower the car or soften the springs.",

    // 126
    "Shock Bump:\n"
    "\n"
    "The damping of this axle's shock absorbers while the suspension compresses (2550.0\n"
    "front and 3200.0 rear on the template car).\n"
    "More bump damping slows the body's dive and roll and makes the car react faster, but\n"
    "passes bumps straight into the car; less lets the wheels ride bumps more softly.\n"
    "Keep it in proportion to the springs and to Shock Rebound.",

    // 127
    "Bumpstop Limit:\n"
    "\n"
    "The suspension travel, in metres, at which the bump stop comes in (0.080 on the\n"
    "template car).\n"
    "A smaller value brings the stop in earlier, so the suspension stiffens sooner under\n"
    "load; a larger one gives more free travel before it.\n"
    "Change it in steps of 0.005 and test the car over kerbs.",

    // 128
    "Bumpstop Length:\n"
    "\n"
    "The length of the bump stop in metres: the travel over which it compresses once it is\n"
    "reached (0.125 on the template car).\n"
    "A longer stop takes up the end of the travel more progressively; a short one stops the\n"
    "suspension abruptly.  The template car uses the same value front and rear.",

    // 129
    "Shock Rebound:\n"
    "\n"
    "The damping of this axle's shock absorbers while the suspension extends again (2550.0\n"
    "front and 3200.0 rear on the template car).\n"
    "More rebound damping stops the body bouncing after bumps; too much holds the wheel up,\n"
    "so it loses contact over a series of bumps.\n"
    "The template car uses the same value as Shock Bump: start there.",

    // 130
    "Camber:\n"
    "\n"
    "The tilt of the wheels seen from the front of the car: negative values lean the top of\n"
    "the tyre inwards.  The file holds radians, like the wing angles: -0.0352 front and\n"
    "-0.0264 rear on the template car, about -2.0 and -1.5 degrees.\n"
    "Some negative camber adds grip in corners; too much costs grip under braking and\n"
    "acceleration.  Change it in steps of 0.001.",

    // 131
    "Anti-Roll:\n"
    "\n"
    "The stiffness of this axle's anti-roll bar (25500.0 front and 23500.0 rear on the\n"
    "template car).\n"
    "A stiffer bar reduces body roll at that axle but takes grip from it in corners: a\n"
    "stiffer front bar makes the car understeer, a stiffer rear bar makes it oversteer.\n"
    "It is the simplest way to tune the balance; change it in steps of about 500.",

    // 132
    "Geometry:\n"
    "\n"
    "The suspension geometry of the car, given by name in capital letters (EX1 on the\n"
    "template car).  QORA remembers the names used in saved files and offers them in the list.\n"
    "Use a name that the stock cars use: the game may not load or drive the car correctly\n"
    "with a name it does not know.",

    // 133
    "Anti-Pitch Suspension:\n"
    "\n"
    "How strongly the suspension resists the nose diving under braking and the tail\n"
    "squatting under acceleration (1700.0 on the template car).\n"
    "Higher values keep the car flatter and its balance steadier; lower values let the\n"
    "weight move more, which can help traction but unsettles the car when braking into\n"
    "corners.  Change it in steps of about 100.",

    // 134
    "Idle Throttle:\n"
    "\n"
    "The throttle opening the engine keeps at idle, as a fraction of full throttle from\n"
    "0.00000 to 1.00000 (0.10032 on the template car).\n"
    "Too low and the revs sink at idle and the engine may stall; too high and the car creeps\n"
    "forward and engine braking becomes weak.  Change it by 0.001 at a time.",

    // 135
    "Maximum RPM:\n"
    "\n"
    "The highest engine speed in rpm, the rev limit (7750.0 on the template car).\n"
    "It must not be lower than the rpm of peak power or than Auto-Shift RPM; the upshift\n"
    "calculator on the DriveTrain page checks both.\n"
    "Let the torque curve run on beyond this speed: the template curve ends at 9000 rpm.",

    // 136
    "Auto-Shift RPM:\n"
    "\n"
    "The engine speed at which the automatic gearbox shifts up (7300.0 on the template car).\n"
    "Set it below Maximum RPM and above the rpm of peak torque, usually near the rpm of\n"
    "peak power.  The upshift calculator on the DriveTrain page uses it to show the revs\n"
    "after each upshift and to suggest gear ratios.",

    // 137
    "Engine Inertia:\n"
    "\n"
    "How heavy the engine's rotating parts are: their rotational inertia in kilogram square\n"
    "metres (0.35 on the template car).\n"
    "Low values let the revs rise and fall quickly for a sharp, racy engine; high values make\n"
    "it slow to rev and soften the gear changes.  Change it in steps of 0.05.",

    // 138
    "Engine Friction:\n"
    "\n"
    "The engine's internal friction (0.03400 on the template car).\n"
    "It takes power away as the revs rise and brakes the car when you lift off: higher\n"
    "values mean more engine braking and less power at the top of the rev range.\n"
    "Change it by small amounts such as 0.002.",

    // 139
    "Throttle/Rpm Ratio:\n"
    "\n"
    "A factor of the game's engine model that links the throttle opening to the engine\n"
    "speed (11962.5 on the template car).\n"
    "Its exact effect in the game is not known in detail.  Change it in small steps, compare\n"
    "the car with a stock car of similar power, and test the throttle response on track.",

    // 140
    "Mass Body Weight:\n"
    "\n"
    "The mass of the car in kilograms (1125.0 on the template car).\n"
    "A lighter car accelerates, brakes and turns faster.  The wheels' masses are set on the\n"
    "Tires page.\n"
    "When you change the mass a lot, scale Body Inertia, the springs and the brakes with it\n"
    "so the car keeps its character.",

    // 141
    "Weight Distribution:\n"
    "\n"
    "How the car's weight is split between the front and the rear axle, as a fraction from\n"
    "0.00 to 1.00 (0.49 on the template car, nearly even).\n"
    "Front-engined and mid-engined stock cars differ clearly here: compare with a stock car\n"
    "of your layout before changing it.  Changes of 0.01 to 0.02 already move the balance\n"
    "between understeer and oversteer noticeably.",

    // 142
    "Center Height:\n"
    "\n"
    "The height of the car's centre of mass in metres, measured from the car's reference\n"
    "point (-0.073 on the template car; negative values are normal).\n"
    "Lower values make the car roll and pitch less; higher values make it lean more and, in\n"
    "the extreme, tip over.  Change it in steps of 0.005.",

    // 143
    "Body Inertia:\n"
    "\n"
    "How hard the car is to turn about its three axes, in kilogram square metres: pitch,\n"
    "yaw and roll, in that order (2043.443,2204.754,501.108 on the template car).\n"
    "Higher values make the car slower to rotate and react; lower values make it nervous.\n"
    "Scale all three with Mass Body Weight when you change the car's weight.  Write the\n"
    "values with commas and without blanks.",

    // 144
    "Fuel:\n"
    "\n"
    "The amount of fuel the car starts with (100.00 on the template car).\n"
    "Keep it at or below Fuel Capacity: the car cannot start with more than its tank holds.\n"
    "The template car starts with a full tank; keep the stock value unless you have a reason.",

    // 145
    "Fuel Capacity:\n"
    "\n"
    "The size of the car's fuel tank, in the same unit as Fuel (100.00 on the template car).\n"
    "Fuel must not be larger than this value.\n"
    "A larger tank allows longer runs between fuel stops where the game uses fuel.",

    // 146
    "Damage:\n"
    "\n"
    "Selects how the car takes damage, as a whole number chosen from the list (1 on the\n"
    "template car).\n"
    "Leave it at the value the stock cars use unless you know what another setting does in\n"
    "your copy of the game; test collisions after any change.",

    // 147
    "Eye Point:\n"
    "\n"
    "The position of the driver's eyes for the in-car view, in metres across (x), up (y)\n"
    "and along (z) the car (0.000,0.820,0.140 on the template car).\n"
    "Raise y when the view sits inside the dashboard and lower it when the roof fills the\n"
    "screen; negative z moves the view forward.  Keep x at 0.000 for a centred view.",

    // 148
    "Reverse Gear:\n"
    "\n"
    "The reverse gear ratio: a negative number in the form -#.###, such as -3.500 on the\n"
    "template car.  Values from -1.000 to -9.999 are accepted.\n"
    "A larger number gives more pulling force and a lower top speed in reverse.\n"
    "When you leave the field, a text not of that form is undone or set to -3.000.",

    // 149
    "Forward Gear Ratio's:\n"
    "\n"
    "The ratios of gears 1 to 6: engine turns per turn of the gearbox output (3.570, 2.315,\n"
    "1.549, 1.035 and 0.690 on the template car, which has no 6th gear).\n"
    "Each gear should be lower than the one before; 1st gear must be at least 1.000.\n"
    "A gear of 0.000 ends the gearbox: it and all gears after it are removed on saving.\n"
    "Beside the gears QORA shows the revs after each upshift and suggests ratios that keep\n"
    "the engine near its peak torque.",

    // 150
    "Final Gear:\n"
    "\n"
    "The final drive ratio, which multiplies every gear (3.900 on the template car).\n"
    "A higher value gives quicker acceleration and a lower top speed; a lower value does\n"
    "the opposite.  It must be at least 1.000.\n"
    "Speed in km/h = rpm x tyre radius x 0.377 / (gear x final drive): the template car's\n"
    "7750 rpm, 0.32 m tyres, 0.690 top gear and 3.900 final allow 347 km/h if drag permits.",

    // 151
    "Wheel Drive Type:\n"
    "\n"
    "Which wheels the engine drives: REAR on the template car, which drives the rear wheels.\n"
    "For another layout, copy the word from a stock car that has that layout: the game knows\n"
    "only its own words.\n"
    "Changing the driven wheels changes the handling completely; retune the tyres, the\n"
    "brake balance and the anti-roll bars afterwards.",

    // 152
    "Clutch Efficiency:\n"
    "\n"
    "Some vehicle files carry a clutch_eff= line in the DRIVELINE section.\n"
    "The game misbehaves with it, so QORA disables these entries: when a file holding one\n"
    "is loaded, QORA offers to put //--REMOVED BY QORA-- in front of the line, which turns\n"
    "it into a comment the game ignores.\n"
    "There is no field for it; the game then uses its own clutch behaviour.",
};

} // namespace

std::string_view helpText(int number) {
    if (number < kFirstHelpNumber || number > kLastHelpNumber)
        return {};
    return kHelpTexts[static_cast<std::size_t>(number - kFirstHelpNumber)];
}

std::string_view helpTitle(int number) {
    const std::string_view text = helpText(number);
    return text.substr(0, text.find('\n'));
}

} // namespace qora::editor
