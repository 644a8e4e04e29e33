import 'package:meta/meta.dart';
import 'dart:convert';

class Unknown {
  final int? id;
  final Profile? profile;
  final List<Item?> items;
  final List<List<M>> m;
  final List<List<List<int?>>>? cube;
  final Map<String, dynamic> extra;

  Unknown({
    this.id,
    this.profile,
    required this.items,
    required this.m,
    this.cube,
    required this.extra,
  });

  Unknown copyWith({
    int? id,
    Profile? profile,
    List<Item?>? items,
    List<List<M>>? m,
    List<List<List<int?>>>? cube,
    Map<String, dynamic>? extra,
  }) => Unknown(
    id: id ?? this.id,
    profile: profile ?? this.profile,
    items: items ?? this.items,
    m: m ?? this.m,
    cube: cube ?? this.cube,
    extra: extra ?? this.extra,
  );

  factory Unknown.fromJSON(Map<String, dynamic> json) => Unknown(
    id: json["id"],
    profile: json["profile"] == null ? null : Profile.fromJSON(json["profile"]),
    items: List<Item?>.from(json["items"].map((x) => x == null ? null : Item.fromJSON(x))),
    m: List<List<M>>.from(json["m"].map((x) => List<M>.from(x.map((x) => M.fromJSON(x))))),
    cube: json["cube"] == null ? null : List<List<List<int?>>>.from(json["cube"].map((x) => x)),
    extra: json["extra"],
  );

  Map<String, dynamic> toJSON() => {
    "id": id,
    "profile": profile?.toJSON(),
    "items": List<dynamic>.from(items.map((x) => x?.toJSON())),
    "m": List<dynamic>.from(m.map((x) => List<dynamic>.from(x.map((x) => x.toJSON())))),
    "cube": cube == null ? null : List<dynamic>.from(cube!.map((x) => x)),
    "extra": extra,
  };
}
