// IFC-67 coefficients, value for value as the formulation gives them.
#pragma once

namespace vapordex::ifc67 {

// K function (saturation line), k1 to k9.
inline constexpr double kK[] = {-7.691234564,
                                -2.608023696e1,
                                -1.681706546e2,
                                6.423285504e1,
                                -1.189646225e2,
                                4.167117320,
                                2.097506760e1,
                                1e9,
                                6};
// Sub-region 1: A0 to A22.
inline constexpr double kA[] = {6.824687741e3,   -5.422063673e2, -2.096666205e4, 3.941286787e4,
                                -6.733277739e4,  9.902381028e4,  -1.093911774e5, 8.590841667e4,
                                -4.511168742e4,  1.418138926e4,  -2.017271113e3, 7.982692717,
                                -2.616571843e-2, 1.52241179e-3,  2.284279054e-2, 2.421647003e2,
                                1.269716088e-10, 2.074838328e-7, 2.17402035e-8,  1.105710498e-9,
                                1.293441934e1,   1.308119072e-5, 6.047626338e-14};
// Sub-region 1: a1 to a12 (index 0 unused).
inline constexpr double kSmallA[] = {
    0.0,           8.438375405e-1, 5.362162162e-4, 1.72,      7.342278489e-2,
    4.97585887e-2, 6.5371543e-1,   1.15e-6,        1.5108e-5, 1.4188e-1,
    7.002753165,   2.995284926e-4, 2.04e-1};
// Sub-region 2.
inline constexpr double kI1 = 4.260321148;
inline constexpr double kB0 = 1.683599274e1;
// B01 to B05.
inline constexpr double kB0v[] = {2.856067796e1, -5.438923329e1, 4.330662834e-1, -6.547711697e-1,
                                  8.565182058e-2};
inline constexpr double kSmallB = 7.633333333e-1;
// B_mu,lambda with the exponents z_mu,lambda of X, for mu = 1 to 8.
struct Term {
  double b;
  int z;
};
inline constexpr int kTermCount[8] = {2, 3, 2, 2, 3, 2, 2, 2};
inline constexpr Term kB[8][3] = {
    {{6.670375918e-2, 13}, {1.388983801, 3}},
    {{8.390104328e-2, 18}, {2.614670893e-2, 2}, {-3.373439453e-2, 1}},
    {{4.520918904e-1, 18}, {1.069036614e-1, 10}},
    {{-5.975336707e-1, 25}, {-8.847535804e-2, 14}},
    {{5.958051609e-1, 32}, {-5.159303373e-1, 28}, {2.075021122e-1, 24}},
    {{1.190610271e-1, 12}, {-9.867174132e-2, 11}},
    {{1.683998803e-1, 24}, {-5.809438001e-2, 18}},
    {{6.552390126e-3, 24}, {5.710218649e-4, 14}},
};
// b_mu,lambda with the exponents x_mu,lambda, for mu = 6 to 8.
inline constexpr int kDenominatorCount[3] = {1, 1, 2};
inline constexpr Term kSmallBmu[3][2] = {
    {{4.006073948e-1, 14}},
    {{8.636081627e-2, 19}},
    {{-8.532322921e-1, 54}, {3.460208861e-1, 27}},
};
// B90 to B96.
inline constexpr double kB9[] = {1.936587558e2, -1.388522425e3, 4.126607219e3, -6.508211677e3,
                                 5.745984054e3, -2.693088365e3, 5.235718623e2};
// Sub-region 3: rows k = 0 to 3 of the C table: C_k1 (coefficient of chi),
// C_k2 ... C_k(m-1) (coefficients of chi^(1 - nu)) and C_km (coefficient of ln chi).
// C01 to C011.
inline constexpr double kC0[] = {-1.7226042e-2,  -7.77175039,   4.20460752,    -2.76807038,
                                 2.10419707,     -1.14649588,   2.23138085e-1, 1.16250363e-1,
                                 -8.20900544e-2, 1.94129239e-2, -1.69470576e-3};
inline constexpr double kC0Log = -4.311577033;
// C11 to C16.
inline constexpr double kC1[] = {7.08636085e-1, 1.23679455e1,   -1.20389004e1,
                                 5.40437422,    -9.93865043e-1, 6.27523182e-2};
inline constexpr double kC1Log = -7.74743016;
// C21 to C27.
inline constexpr double kC2[] = {-4.29885092, 4.31430538e1, -1.41619313e1, 4.04172459,
                                 1.55546326,  -1.66568935,  3.24881158e-1};
inline constexpr double kC2Log = 2.93655325e1;
// C31 to C39.
inline constexpr double kC3[] = {7.94841842e-6, 8.08859747e1, -8.3615338e1,
                                 3.58636517e1,  7.51895954,   -1.2616064e1,
                                 1.09717462,    2.12145492,   -5.46529566e-1};
inline constexpr double kC3Log = 8.32875413;
inline constexpr double kC00 = -6.8399;
inline constexpr double kC40 = 2.75971776e-6;
inline constexpr double kC41 = -5.09073985e-4;
inline constexpr double kC50 = 2.10636332e2;
// C60 to C64.
inline constexpr double kC6[] = {5.528935335e-2, -2.336365955e-1, 3.69707142e-1, -2.59641547e-1,
                                 6.828087013e-2};
// C70 to C78.
inline constexpr double kC7[] = {-2.571600553e2, -1.518783715e2, 2.220723208e1,
                                 -1.80203957e2,  2.35709622e3,   -1.462335698e4,
                                 4.54291663e4,   -7.053556432e4, 4.381571428e4};
// Sub-region 4: D30 to D34, D40 to D44, D50 to D52.
inline constexpr double kD[2][5] = {
    {-1.717616747, 3.526389875, -2.690899373, 9.070982605e-1, -1.138791156e-1},
    {1.301023613, -2.642777743, 1.996765362, -6.661557013e-1, 8.270860589e-2}};
// D50 to D52.
inline constexpr double kD5[] = {3.426663535e-4, -1.236521258e-3, 1.155018309e-3};

}  // namespace vapordex::ifc67
