#!/usr/bin/env python3
"""Reference conversions of the location SDK, worked out from the written formulas alone.

Python floats are IEEE doubles, as the SDK's; single precision is emulated by packing through
struct. Run it to regenerate reference.txt beside it:  python3 reference.py > reference.txt

Each line: a name, the WGS-84 longitude and latitude, then what the chain gives for it as the
first conversion of a fresh process: the GCJ-02 fixed-point pair, the LD-09 Mercator metres
and the LD-09 longitude/latitude read back from them. Lines starting with "sequence" give the
Mercator metres of the same point converted four times in a row (the jitter moves on).
"""
import math
import struct

FIXED = 3686400.0


def f32(v):
    return struct.unpack('<f', struct.pack('<f', v))[0]


def u32(v):
    if v != v or v <= 0:
        return 0
    if v >= 4294967296.0:
        return 4294967295
    return int(v)


def sine(a):
    v = abs(a)
    r = v - int(v / 6.28318530717959) * 6.28318530717959
    neg = a < 0
    if r > 3.141592653589793:
        r = r - 3.141592653589793
        neg = not neg
    s = (r + r * r * r * -0.166666666666667 + r * r * r * r * r * 0.00833333333333333
         + r * r * r * r * r * r * r * -0.000198412698412698
         + r * r * r * r * r * r * r * r * r * 2.75573192239859e-6
         + r * r * r * r * r * r * r * r * r * r * r * -2.50521083854417e-8)
    return -s if neg else s


P6, P2, P1 = 18.849555921538762, 6.283185307179588, 3.141592653589794
P3, P12, P30 = 1.047197551196598, 0.2617993877991495, 0.1047197551196598


def lon_term(x, y):
    t = 0.1 * x * y + (0.1 * x * x + ((x + 300) + (y + y)))
    t = t + 0.1 * math.sqrt(math.sqrt(x * x))
    t = t + (20 * sine(P6 * x) + 20 * sine(P2 * x)) * 0.6667
    t = t + (20 * sine(P1 * x) + 40 * sine(P3 * x)) * 0.6667
    t = t + (150 * sine(P12 * x) + 300 * sine(P30 * x)) * 0.6667
    return t


def lat_term(x, y):
    t = 0.1 * x * y + (((x + x) - 100 + 3 * y) + 0.2 * y * y)
    t = t + 0.2 * math.sqrt(math.sqrt(x * x))
    t = t + (20 * sine(P6 * x) + 20 * sine(P2 * x)) * 0.6667
    t = t + (20 * sine(P1 * y) + 40 * sine(P3 * y)) * 0.6667
    t = t + (160 * sine(P12 * y) + 320 * sine(P30 * y)) * 0.6667
    return t


class Offset:
    """The offset transform in mode 1 with height 0 and time 0, the only use the chain makes."""

    def __init__(self):
        self.seed = 0.0

    def jitter(self, seed):
        s = seed * 314159269 + 453806245
        return (s - 2 * int(s * 0.5)) * 0.5

    def encrypt(self, lon, lat):
        lon_deg, lat_deg = lon / FIXED, lat / FIXED
        if not (72.004 <= lon_deg <= 137.8347 and 0.8293 <= lat_deg <= 55.8271):
            return None
        x, y = lon_deg - 105, lat_deg - 35
        d_lon, d_lat = lon_term(x, y), lat_term(x, y)
        tsin = sine(0 * 0.0174532925199433)
        j1 = self.jitter(self.seed)
        j2 = self.jitter(j1)
        self.seed = j2
        sin_lat = sine(lat_deg * 0.0174532925199433)
        q = sin_lat * (sin_lat * -0.00669342) + 1
        r = math.sqrt(q)
        h = 0 * 0.001
        n = 6378245.0 / r
        m = 6335552.7273521 / (r * q)
        cos_lat = math.cos(lat_deg * 0.0174532925199433)
        dl = (((h + d_lon) + tsin) + j1) * 180 / ((n * cos_lat) * 3.1415926)
        dp = (((h + d_lat) + tsin) + j2) * 180 / (m * 3.1415926)
        return u32((lon_deg + dl) * FIXED), u32((lat_deg + dp) * FIXED)


def ld09(x, y):
    z = math.sqrt(x * x + y * y) + math.sin((y * 3000) * 0.0174532925194) * 2e-5
    th = math.atan2(y, x) + math.cos((x * 3000) * 0.0174532925194) * 3e-6
    return z * math.cos(th) + 0.0065, z * math.sin(th) + 0.006


LL_BAND = [75, 60, 45, 30, 15, 0]
MC_BAND = [12890594.86, 8362377.87, 5591021, 3481989.83, 1678043.12, 0]
LL2MC = [
    [-0.0015702102444, 111320.7020616939, 1704480524535203.0, -1.033898737604234e+16,
     2.611266785660388e+16, -3.51496691766537e+16, 2.659570071840392e+16,
     -1.072501245418824e+16, 1800819912950474.0, 82.5],
    [0.0008277824516172526, 111320.7020463578, 647795574.6671607, -4082003173.641316,
     10774905663.51142, -15171875531.51559, 12053065338.62167, -5124939663.577472,
     913311935.9512032, 67.5],
    [0.00337398766765, 111320.7020202162, 4481351.045890365, -23393751.19931662,
     79682215.47186455, -115964993.2797253, 97236711.15602145, -43661946.33752821,
     8477230.501135234, 52.5],
    [0.00220636496208, 111320.7020209128, 51751.86112841131, 3796837.749470245,
     992013.7397791013, -1221952.21711287, 1340652.697009075, -620943.6990984312,
     144416.9293806241, 37.5],
    [-0.0003441963504368392, 111320.7020576856, 278.2353980772752, 2485758.690035394,
     6070.750963243378, 54821.18345352118, 9540.606633304236, -2710.55326746645,
     1405.483844121726, 22.5],
    [-0.0003218135878613132, 111320.7020701615, 0.00369383431289, 823725.6402795718,
     0.46104986909093, 2351.343141331292, 1.58060784298199, 8.77738589078284,
     0.37238884252424, 7.45],
]
MC2LL = [
    [1.410526172116255e-08, 8.98305509648872e-06, -1.9939833816331, 200.9824383106796,
     -187.2403703815547, 91.6087516669843, -23.38765649603339, 2.57121317296198,
     -0.03801003308653, 17337981.2],
    [-7.435856389565537e-09, 8.983055097726239e-06, -0.78625201886289, 96.32687599759846,
     -1.85204757529826, -59.36935905485877, 47.40033549296737, -16.50741931063887,
     2.28786674699375, 10260144.86],
    [-3.030883460898826e-08, 8.98305509983578e-06, 0.30071316287616, 59.74293618442277,
     7.357984074871, -25.38371002664745, 13.45380521110908, -3.29883767235584,
     0.32710905363475, 6856817.37],
    [-1.981981304930552e-08, 8.983055099779535e-06, 0.03278182852591, 40.31678527705744,
     0.65659298677277, -4.44255534477492, 0.85341911805263, 0.12923347998204,
     -0.04625736007561, 4482777.06],
    [3.09191371068437e-09, 8.983055096812155e-06, 6.995724062e-05, 23.10934304144901,
     -0.00023663490511, -0.6321817810242, -0.00663494467273, 0.03430082397953,
     -0.00466043876332, 2555164.4],
    [2.890871144776878e-09, 8.983055095805407e-06, -3.068298e-08, 7.47137025468032,
     -3.53937994e-06, -0.02145144861037, -1.234426596e-05, 0.00010322952773,
     -3.23890364e-06, 826088.5],
]


def by_band(x, y, c):
    t = abs(y) / c[9]
    sx = -1.0 if x < 0 else 1.0
    sy = -1.0 if y < 0 else 1.0
    nx = (c[0] + c[1] * abs(x)) * sx
    ny = ((((((c[2] + c[3] * t) + c[4] * (t * t)) + c[5] * (t * t * t)) + c[6] * (t * t * t * t))
           + c[7] * (t * t * t * t * t)) + c[8] * (t * t * t * t * t * t)) * sy
    return nx, ny


def ll_to_mc(lon, lat):
    a = max(abs(lat), 1e-7)
    for i, limit in enumerate(LL_BAND):
        if a > limit:
            return by_band(lon, lat, LL2MC[i])
    raise ValueError('no band')


def mc_to_ll(x, y):
    lim = 20037508.342
    x = min(max(x, -lim), lim)
    if 0 <= y < 1e-6:
        y = 1e-6
    elif -1e-6 < y < 0:
        y = -1e-6
    else:
        y = min(max(y, -lim), lim)
    for i, limit in enumerate(MC_BAND):
        if abs(y) > limit:
            return by_band(x, y, MC2LL[i])
    raise ValueError('no band')


def wgs84_to_mc(offset, lon, lat):
    flon, flat = f32(lon), f32(lat)
    qlon = u32(f32(f32(flon * 3600.0) * 1024.0))
    qlat = u32(f32(f32(flat * 3600.0) * 1024.0))
    out = offset.encrypt(qlon, qlat)
    if out is not None:
        flon, flat = f32(out[0] / FIXED), f32(out[1] / FIXED)
    gx, gy = ld09(flon, flat)
    return out, ll_to_mc(gx, gy)


CITIES = [
    ('beijing', 116.397128, 39.916527),
    ('shanghai', 121.473701, 31.230416),
    ('guangzhou', 113.264385, 23.129112),
    ('chengdu', 104.066541, 30.572269),
    ('harbin', 126.534967, 45.803775),
    ('urumqi', 87.616848, 43.825592),
    ('outside', 10.0, 50.0),
    ('south-west', -58.381592, -34.603722),
]


def main():
    for name, lon, lat in CITIES:
        fixed, (mx, my) = wgs84_to_mc(Offset(), lon, lat)
        fx, fy = fixed if fixed is not None else (0, 0)
        blon, blat = mc_to_ll(mx, my)
        print(f'{name} {lon!r} {lat!r} {fx} {fy} {mx!r} {my!r} {blon!r} {blat!r}')
    offset = Offset()
    name, lon, lat = CITIES[0]
    for _ in range(4):
        _, (mx, my) = wgs84_to_mc(offset, lon, lat)
        print(f'sequence {name} {lon!r} {lat!r} {mx!r} {my!r}')


if __name__ == '__main__':
    main()
