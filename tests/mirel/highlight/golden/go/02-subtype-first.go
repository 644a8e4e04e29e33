package main

type Owner struct {
  Login string `json:"login"`
}

type Unknown struct {
  ID int `json:"id"`
  FullName string `json:"full_name"`
  Tags []string `json:"tags"`
  Owner Owner `json:"owner"`
  Note interface{} `json:"note"`
}
